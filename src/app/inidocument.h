#pragma once

#include "ui/textfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// An INI file edited in place as Windows' profile functions do: values are
// replaced where they stand, a new key goes after the last key of its
// section, a new section at the end; other lines stay untouched.
// Section and key names match regardless of case; blanks around names and
// values are ignored; lines starting with ";" are comments. A section or
// key that occurs twice: the first key found, in file order, counts.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(QStringList lines, TextFormat format = {});

    // A missing file gives an empty document that is written as new.
    static IniDocument load(const QString &path);
    void save(const QString &path);  // throws std::runtime_error

    std::optional<QString> value(const QString &section, const QString &key) const;
    // A missing value or one that is not a decimal 32-bit integer gives `def`.
    int intValue(const QString &section, const QString &key, int def) const;
    QString stringValue(const QString &section, const QString &key, const QString &def = {}) const;
    bool boolValue(const QString &section, const QString &key, bool def) const;

    void setValue(const QString &section, const QString &key, const QString &value);
    void setInt(const QString &section, const QString &key, int value);
    void setBool(const QString &section, const QString &key, bool value);

    const QStringList &lines() const { return m_lines; }
    const TextFormat &format() const { return m_format; }

private:
    QStringList m_lines;
    TextFormat m_format;
};
