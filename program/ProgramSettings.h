#pragma once
// The program's own settings beside "options.dat": the window's placement and
// the recently opened files, in "settings.dat". Each change rewrites the whole
// file through the checked atomic writer; a damaged or missing file reads as
// no settings.

#include <QString>
#include <QVariantMap>

class ProgramSettings {
  public:
    explicit ProgramSettings(const QString& programDir);

    QVariant Value(const QString& key) const { return values.value(key); }
    // Sets the value and writes the file; false when it could not be written
    // (the value is kept for this run).
    bool SetValue(const QString& key, const QVariant& value);

    static const QString kFileName;

  private:
    QString programDir;
    QVariantMap values;
};
