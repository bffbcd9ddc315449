#include "app/inidocument.h"

namespace {

// The section name of a header line "[name]", or nothing. A header without
// "]" still opens a section, named by the rest of the line.
std::optional<QString> sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    qsizetype end = t.indexOf(QLatin1Char(']'));
    if (end < 0)
        end = t.size();
    return t.mid(1, end - 1).trimmed();
}

// Key and value of "key = value"; comment lines and lines without "=" (or
// with an empty key) are no entries.
bool entryOf(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    if (key->isEmpty())
        return false;
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

bool same(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniDocument::IniDocument(QStringList lines, TextFormat format) : m_lines(std::move(lines)), m_format(std::move(format))
{}

IniDocument IniDocument::load(const QString &path)
{
    if (auto content = readTextFile(path))
        return IniDocument(std::move(content->lines), content->format);
    return IniDocument();
}

void IniDocument::save(const QString &path)
{
    writeTextFile(path, m_lines, m_format);
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    bool inSection = false;
    QString k, v;
    for (const QString &line : m_lines) {
        if (auto s = sectionOf(line)) {
            inSection = same(*s, section);
            continue;
        }
        if (inSection && entryOf(line, &k, &v) && same(k, key)) {
            // Profile functions drop one pair of quotes around a value.
            if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''))
                && v.back() == v.front())
                v = v.mid(1, v.size() - 2);
            return v;
        }
    }
    return std::nullopt;
}

int IniDocument::intValue(const QString &section, const QString &key, int def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? n : def;
}

QString IniDocument::stringValue(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

bool IniDocument::boolValue(const QString &section, const QString &key, bool def) const
{
    return intValue(section, key, def ? 1 : 0) != 0;
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString entry = key + QLatin1Char('=') + value;
    bool inSection = false;
    qsizetype lastOfSection = -1;  // where a new key of the first such section goes
    bool sectionSeen = false;
    QString k;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (auto s = sectionOf(m_lines[i])) {
            if (inSection)
                sectionSeen = true;  // later sections of the same name only get replacements
            inSection = same(*s, section);
            if (inSection && !sectionSeen && lastOfSection < 0)
                lastOfSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (entryOf(m_lines[i], &k, nullptr)) {
            if (same(k, key)) {
                m_lines[i] = entry;
                return;
            }
            if (!sectionSeen)
                lastOfSection = i;
        }
    }
    if (lastOfSection >= 0) {
        m_lines.insert(lastOfSection + 1, entry);
        return;
    }
    m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
    m_lines.append(entry);
}

void IniDocument::setInt(const QString &section, const QString &key, int value)
{
    setValue(section, key, QString::number(value));
}

void IniDocument::setBool(const QString &section, const QString &key, bool value)
{
    setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
