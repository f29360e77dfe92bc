#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>

namespace tarvexio {

class EMFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A byte-oriented text file that is opened, positioned and closed explicitly; a missing file
// is created on open. Writes are buffered until Close(). Every failure raises EMFileError
// naming the path; destroying an open file closes it without a word, so close it explicitly.
class TMFile {
public:
    void SetPath(const QString& path) { path_ = path; }
    const QString& getPath() const { return path_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    void Open();
    void Close();
    qint64 GetSize() const;
    void SetPointer(qint64 position);
    void SetEof();
    void WriteLine(const QByteArray& text, const QByteArray& terminator);
    // The bytes up to the next terminator (without it); false at the end of the file.
    bool ReadLine(QByteArray& line, const QByteArray& terminator);

private:
    [[noreturn]] void fail(const char* what) const;
    void requireOpen(const char* what) const;

    QString path_;
    bool readOnly_ = true;
    QFile file_;
};

} // namespace tarvexio
