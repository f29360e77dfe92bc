#include "app/argument_passwords.h"

#include "db/database_name.h"

#include <QByteArray>
#include <QString>

#include <cstring>

namespace tarvexio {

void hideDatabasePasswordsInArguments(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        char* argument = argv[i];
        const std::size_t length = std::strlen(argument);
        // "BAZA=name" (any case), "--db=name", or the name after "--db".
        std::size_t start = 0;
        if (qstrnicmp(argument, "BAZA=", 5) == 0 || qstrncmp(argument, "--db=", 5) == 0)
            start = 5;
        else if (qstrcmp(argv[i - 1], "--db") != 0)
            continue;
        const QString name = QString::fromLocal8Bit(argument + start);
        const QByteArray kept = databaseNameWithoutPassword(name).toLocal8Bit();
        if (start + std::size_t(kept.size()) >= length)
            continue; // nothing to hide
        // The shorter name in place, the rest of the old text zeroed: this memory is what the
        // kernel shows as the command line.
        std::memcpy(argument + start, kept.constData(), std::size_t(kept.size()));
        std::memset(argument + start + kept.size(), 0, length - start - std::size_t(kept.size()));
    }
}

} // namespace tarvexio
