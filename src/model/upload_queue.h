#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

// What the export run and the upload step share: the files waiting for upload, the file last
// written or being sent, and one run state that each of them leaves for the other to read.
struct UploadQueue {
    enum RunState : quint8 {
        Running = 0, // a run is in progress, or the last one failed
        Written = 2, // the last file was written completely, or sent
        Sending = 4, // a file is being sent, or its send failed
    };

    quint8 runState = Running;
    QStringList uploadList; // full paths of complete data files, oldest first
    QString currentFile;
};

} // namespace tarvexio
