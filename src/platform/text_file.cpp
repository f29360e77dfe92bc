#include "platform/text_file.h"

namespace tarvexio {

void TMFile::Open()
{
    if (file_.isOpen())
        return;
    file_.setFileName(path_);
    const QIODevice::OpenMode mode = readOnly_ ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!file_.open(mode))
        fail("Nie można otworzyć pliku");
}

void TMFile::Close()
{
    if (!file_.isOpen())
        return;
    // Lines are buffered: a full disk shows here, not in WriteLine.
    const bool flushed = file_.flush();
    file_.close();
    if (!flushed)
        fail("Nie można zapisać do pliku");
}

qint64 TMFile::GetSize() const
{
    requireOpen("Nie można odczytać rozmiaru pliku");
    return file_.size();
}

void TMFile::SetPointer(qint64 position)
{
    requireOpen("Nie można ustawić pozycji w pliku");
    if (!file_.seek(position))
        fail("Nie można ustawić pozycji w pliku");
}

void TMFile::SetEof()
{
    requireOpen("Nie można skrócić pliku");
    if (!file_.resize(file_.pos()))
        fail("Nie można skrócić pliku");
}

void TMFile::WriteLine(const QByteArray& text, const QByteArray& terminator)
{
    requireOpen("Nie można zapisać do pliku");
    if (file_.write(text) != text.size() || file_.write(terminator) != terminator.size())
        fail("Nie można zapisać do pliku");
}

bool TMFile::ReadLine(QByteArray& line, const QByteArray& terminator)
{
    requireOpen("Nie można odczytać pliku");
    line.clear();
    if (file_.atEnd())
        return false;
    char byte = 0;
    while (file_.getChar(&byte)) {
        line.append(byte);
        if (line.endsWith(terminator)) {
            line.chop(terminator.size());
            return true;
        }
    }
    if (file_.error() != QFileDevice::NoError)
        fail("Nie można odczytać pliku");
    return true; // the last line, without a terminator
}

void TMFile::requireOpen(const char* what) const
{
    if (!file_.isOpen())
        throw EMFileError(QStringLiteral("%1 %2: plik nie jest otwarty")
                              .arg(QString::fromUtf8(what), path_)
                              .toStdString());
}

void TMFile::fail(const char* what) const
{
    throw EMFileError(QStringLiteral("%1 %2: %3")
                          .arg(QString::fromUtf8(what), path_, file_.errorString())
                          .toStdString());
}

} // namespace tarvexio
