#pragma once

#include <QString>

namespace tarvexio {

// The goods code as an EAN field: "?" fillers removed, zeros in front up to 14 characters.
QString eanField(const QString& code);

// "|" would split a record; names carry "/" instead.
QString withoutSeparators(QString text);

// The unit code of a unit name: 1 pieces and packs, 2 kg, 3 mb, 4 m2, 5 m3, 6 lt.
int unitCode(const QString& unitName);

// Starts a record in a block of records: a line end after the previous record, then the start.
void appendRecordLine(QByteArray& records, const QByteArray& start);

// Appends a number with that many decimals and the field's "|".
void appendFixedField(QByteArray& line, double value, int decimals);

// Builds one pipe-separated line: the type, then each field followed by "|".
class RecordLine {
public:
    explicit RecordLine(const char* type);
    RecordLine& text(const QString& value);
    RecordLine& whole(qint64 value);
    RecordLine& fixed(double value, int decimals);
    QString take() { return std::move(line_); }

private:
    QString line_;
};

} // namespace tarvexio
