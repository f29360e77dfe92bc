#include "answer_text.h"

#include "app/settings_view.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace tarvexio {

namespace {

void print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

QStringList strings(const QJsonValue& array)
{
    return array.toVariant().toStringList();
}

// A monitoring plugin's output: the summary first, its exit status the state's.
int printStatus(const QJsonObject& s, bool json)
{
    const int exitCode = s.value(QStringLiteral("exitCode")).toInt(3);
    if (json) {
        print(stdout, QString::fromUtf8(QJsonDocument(s).toJson()));
        return exitCode;
    }
    const QStringList waiting = strings(s.value(QStringLiteral("waitingFiles")));
    QStringList text{
        s.value(QStringLiteral("summary")).toString(),
        s.value(QStringLiteral("running")).toBool()
            ? QStringLiteral("Agent: running (process %1)")
                  .arg(s.value(QStringLiteral("pid")).toInteger())
            : QStringLiteral("Agent: not running"),
        QStringLiteral("Last exported day: ") +
            s.value(QStringLiteral("lastExportedDay")).toString(),
        QStringLiteral("Next day: %1%2")
            .arg(s.value(QStringLiteral("nextDay")).toString(),
                 s.value(QStringLiteral("nextDayDue")).toBool() ? QStringLiteral(" (due)")
                                                                : QStringLiteral(" (not yet due)")),
        QStringLiteral("Waiting files: %1%2")
            .arg(waiting.size())
            .arg(waiting.isEmpty()
                     ? QString()
                     : QStringLiteral(" (oldest day %1)")
                           .arg(s.value(QStringLiteral("oldestWaitingDay")).toString()))};
    for (const QString& file : waiting)
        text << QStringLiteral("  ") + QDir::toNativeSeparators(file);
    const QJsonObject requests = s.value(QStringLiteral("requestFiles")).toObject();
    for (auto request = requests.begin(); request != requests.end(); ++request)
        text << QStringLiteral("Request file %1: %2")
                    .arg(request.key(), strings(request.value()).join(u' '));
    if (s.value(QStringLiteral("running")).toBool()) {
        const QString looked = s.value(QStringLiteral("requestsLastLooked")).toString();
        text << QStringLiteral("Failed attempts: %1 of %2")
                    .arg(s.value(QStringLiteral("failedAttempts")).toInt())
                    .arg(s.value(QStringLiteral("attemptLimit")).toInt())
             << QStringLiteral("Request files last looked for on the server: %1")
                    .arg(looked.isEmpty() ? QStringLiteral("not yet") : looked);
    }
    if (const QStringList recent = strings(s.value(QStringLiteral("recentAlerts")));
        !recent.isEmpty())
        text << QStringLiteral("Last alerting lines:") << recent;
    // What cannot be judged is no critical finding.
    const QString label = s.value(QStringLiteral("health")).toString() == u"UNKNOWN"
                              ? QStringLiteral("UNKNOWN: ")
                              : QStringLiteral("CRITICAL: ");
    for (const QString& line : strings(s.value(QStringLiteral("alerts"))))
        text << label + line;
    for (const QString& line : strings(s.value(QStringLiteral("warnings"))))
        text << QStringLiteral("WARNING: ") + line;
    print(stdout, text.join(u'\n'));
    return exitCode;
}

// The keys set takes, each with its value as set takes it and the parameter's name alongside.
int printSettings(const QJsonObject& answer, bool json)
{
    if (json) {
        print(stdout, QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Indented)));
        return 0;
    }
    QStringList text{
        QStringLiteral("# from %1").arg(answer.value(QStringLiteral("source")).toString())};
    for (const QJsonValue entry : answer.value(QStringLiteral("settings")).toArray()) {
        const QString line = entry[QStringLiteral("key")].toString() + u'=' +
                             settingValueText(entry[QStringLiteral("value")]);
        text << line.leftJustified(47) + QStringLiteral(" # ") +
                    entry[QStringLiteral("name")].toString() +
                    (entry[QStringLiteral("fixed")].toBool() ? QStringLiteral(", fixed")
                                                             : QString());
    }
    print(stdout, text.join(u'\n'));
    return 0;
}

// Days × shops: what was made, whether and how it reached the server, whether the day counts.
int printLedger(const QJsonObject& answer, bool json)
{
    const QJsonArray rows = answer.value(QStringLiteral("rows")).toArray();
    if (json) {
        print(stdout, QString::fromUtf8(QJsonDocument(rows).toJson()));
        return 0;
    }
    const auto line = [](const QStringList& cells) {
        static const int widths[] = {10, 10, 9, 9, 9, 8, 8};
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i)
            text += i < 7 ? cells[i].leftJustified(widths[i]) + u' ' : cells[i];
        return text.trimmed();
    };
    QStringList text{
        line({"Day", "Shop", "State", "Bytes", "On server", "Attempts", "Recorded", "Last cause"})};
    for (const QJsonValue row : rows) {
        const QJsonObject r = row.toObject();
        text << line({r.value(QStringLiteral("day")).toString(),
                      r.value(QStringLiteral("shop")).toString(),
                      r.value(QStringLiteral("state")).toString(),
                      QString::number(r.value(QStringLiteral("size")).toInteger()),
                      r.contains(QStringLiteral("server_size"))
                          ? QString::number(r.value(QStringLiteral("server_size")).toInteger())
                          : QStringLiteral("-"),
                      QString::number(r.value(QStringLiteral("attempts")).toInt()),
                      r.value(QStringLiteral("recorded")).toBool() ? QStringLiteral("yes")
                                                                   : QStringLiteral("no"),
                      r.value(QStringLiteral("cause")).toString()});
    }
    if (rows.isEmpty())
        text << QStringLiteral("(nothing made in these days)");
    print(stdout, text.join(u'\n'));
    return 0;
}

int printSent(const QJsonObject& answer)
{
    int status = 0;
    for (const QJsonValue result : answer.value(QStringLiteral("results")).toArray()) {
        const QString name = QFileInfo(result[QStringLiteral("file")].toString()).fileName();
        const QString reason = result[QStringLiteral("reason")].toString();
        if (result[QStringLiteral("sent")].toBool()) {
            print(stdout, name + QStringLiteral(": sent"));
        } else if (result[QStringLiteral("refused")].toBool()) {
            print(stderr,
                  QStringLiteral("%1: %2").arg(result[QStringLiteral("file")].toString(), reason));
            status = 2;
        } else {
            print(stdout, name + QStringLiteral(": not sent") +
                              (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            status = std::max(status, 1);
        }
    }
    return status;
}

} // namespace

int printKeys(bool json)
{
    const QJsonArray keys = settingKeys();
    if (json) {
        print(stdout, QString::fromUtf8(QJsonDocument(keys).toJson()));
        return 0;
    }
    QStringList text;
    for (const QJsonValue key : keys)
        text << QStringLiteral("%1 %2, %3\n    %4")
                    .arg(key[QStringLiteral("key")].toString().leftJustified(38),
                         key[QStringLiteral("name")].toString(),
                         key[QStringLiteral("kind")].toString(),
                         key[QStringLiteral("meaning")].toString());
    print(stdout, text.join(u'\n'));
    return 0;
}

int printAnswer(const Command& command, const QJsonObject& answer)
{
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.value(QStringLiteral("error")).toString();
        if (command.name == u"status") {
            print(stdout, QStringLiteral("UNKNOWN - ") + error);
            return 3;
        }
        if (command.name != u"set") {
            print(stderr, QStringLiteral("tarvexioctl: ") + error);
            return 1;
        }
        print(stderr, error + QStringLiteral("\nNothing was changed."));
        return 2;
    }
    if (command.name == u"status")
        return printStatus(answer.value(QStringLiteral("status")).toObject(), command.json);
    if (command.name == u"show")
        return printSettings(answer, command.json);
    if (command.name == u"get") {
        print(stdout, settingValueText(answer.value(QStringLiteral("value"))));
        return 0;
    }
    if (command.name == u"set") {
        print(stdout,
              QStringLiteral("Saved to %1.").arg(answer.value(QStringLiteral("saved")).toString()));
        return 0;
    }
    if (command.name == u"send")
        return printSent(answer);
    if (command.name == u"ledger")
        return printLedger(answer, command.json);
    if (command.name == u"test") {
        print(stdout, strings(answer.value(QStringLiteral("lines"))).join(u'\n'));
        return answer.value(QStringLiteral("succeeded")).toBool() ? 0 : 1;
    }
    print(stdout, QStringLiteral("Asked the agent to do its work now."));
    return 0;
}

} // namespace tarvexio
