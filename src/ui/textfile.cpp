#include "ui/textfile.h"

#ifdef _WIN32
#include "cad/win/cp932.h"
#endif

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>
#include <string_view>

namespace {

qint64 g_writeLimit = -1;

// Our code strips the one byte-order mark; a U+FEFF after it is text.
// Whole files are decoded at once, so a sequence cut off at the end is an
// error rather than state kept for more input.
constexpr auto kKeepBom = QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless;

#ifndef _WIN32
// ICU's Windows table: 0x5C stays a backslash and the NEC/IBM extensions
// decode as Windows does ("ibm-943" would give the JIS flavour with ¥).
constexpr const char *kCp932Name = "windows-31j";

// ICU's table follows IBM for three control bytes (0x1A → U+001C,
// 0x1C → U+007F, 0x7F → U+001A); Windows maps them to themselves. The
// rotation is undone after decoding and redone before encoding, so both
// the text and the bytes stay as Windows has them.
void fromIbmControls(QString &text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case 0x1C: c = QChar(0x1A); break;
        case 0x7F: c = QChar(0x1C); break;
        case 0x1A: c = QChar(0x7F); break;
        default: break;
        }
    }
}

void toIbmControls(QString &text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case 0x1A: c = QChar(0x1C); break;
        case 0x1C: c = QChar(0x7F); break;
        case 0x7F: c = QChar(0x1A); break;
        default: break;
        }
    }
}
#endif

QString decodeWith(QStringDecoder &&decoder, QByteArrayView bytes, bool *ok = nullptr)
{
    QString s = decoder.decode(bytes);
    // A converter this Qt lacks decodes nothing and reports no error.
    if (ok)
        *ok = decoder.isValid() && !decoder.hasError();
    return s;
}

#ifdef _WIN32
// Qt's Windows build has no ICU and so no CP932 converter; Windows has.
bool decodeCp932(QByteArrayView bytes, QString &text)
{
    auto s = cad::win::decodeCp932(std::string_view(bytes.data(), std::size_t(bytes.size())));
    if (s)
        text = QString::fromStdU16String(*s);
    return bool(s);
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    auto bytes = cad::win::encodeCp932(text.toStdU16String());
    if (!bytes)
        return std::nullopt;
    return QByteArray(bytes->data(), qsizetype(bytes->size()));
}
#else
bool decodeCp932(QByteArrayView bytes, QString &text)
{
    bool ok = false;
    text = decodeWith(QStringDecoder(kCp932Name, QStringConverter::Flag::Stateless), bytes, &ok);
    if (ok)
        fromIbmControls(text);
    return ok;
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    QString ibm = text;
    toIbmControls(ibm);
    QStringEncoder encoder(kCp932Name);
    QByteArray bytes = encoder.encode(ibm);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}
#endif

QStringList splitLines(const QString &text, QString *lineBreak)
{
    QStringList lines;
    qsizetype start = 0;
    bool foundBreak = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        const bool crlf = c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n';
        if (!foundBreak) {
            *lineBreak = crlf ? QStringLiteral("\r\n") : QString(c);
            foundBreak = true;
        }
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

}  // namespace

TextFileContent decodeText(const QByteArray &bytes)
{
    TextFileContent content;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        content.format.encoding = TextEncoding::Utf8Bom;
        text = decodeWith(QStringDecoder(QStringConverter::Utf8, kKeepBom), QByteArrayView(bytes).sliced(3));
    } else if (bytes.startsWith("\xFF\xFE")) {
        content.format.encoding = TextEncoding::Utf16LE;
        text = decodeWith(QStringDecoder(QStringConverter::Utf16LE, kKeepBom), QByteArrayView(bytes).sliced(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        content.format.encoding = TextEncoding::Utf16BE;
        text = decodeWith(QStringDecoder(QStringConverter::Utf16BE, kKeepBom), QByteArrayView(bytes).sliced(2));
    } else {
        bool utf8 = false;
        text = decodeWith(QStringDecoder(QStringConverter::Utf8, kKeepBom), bytes, &utf8);
        if (utf8) {
            content.format.encoding = TextEncoding::Utf8;
        } else {
            if (decodeCp932(bytes, text)) {
                content.format.encoding = TextEncoding::Cp932;
            } else {
                // Neither UTF-8 nor CP932 (binary junk): undecodable bytes
                // are gone already, so the file is written back as UTF-8
                // with BOM holding exactly the text that was shown.
                content.format.encoding = TextEncoding::Utf8Bom;
            }
        }
    }
    content.lines = splitLines(text, &content.format.lineBreak);
    return content;
}

QByteArray encodeText(const QStringList &lines, TextFormat &format)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += format.lineBreak;
    }
    switch (format.encoding) {
    case TextEncoding::Cp932: {
        if (auto bytes = encodeCp932(text))
            return *bytes;
        format.encoding = TextEncoding::Utf8Bom;
        break;
    }
    case TextEncoding::Utf8: {
        QStringEncoder encoder(QStringConverter::Utf8);
        QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return bytes;
        format.encoding = TextEncoding::Utf8Bom;
        break;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool le = format.encoding == TextEncoding::Utf16LE;
        QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError())
            return (le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) + bytes;
        format.encoding = TextEncoding::Utf8Bom;
        break;
    }
    case TextEncoding::Utf8Bom: break;
    }
    QStringEncoder encoder(QStringConverter::Utf8);
    return QByteArray("\xEF\xBB\xBF") + QByteArray(encoder.encode(text));
}

std::optional<TextFileContent> readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeText(file.readAll());
}

void writeTextFile(const QString &path, const QStringList &lines, TextFormat &format)
{
    TextFormat newFormat = format;
    const QByteArray bytes = encodeText(lines, newFormat);
    QSaveFile file(path);
    auto fail = [&](const QString &reason) {
        file.cancelWriting();
        throw std::runtime_error(QStringLiteral("ファイルに書き込めません: %1\n%2").arg(path, reason).toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    QByteArrayView data(bytes);
    if (g_writeLimit >= 0 && data.size() > g_writeLimit) {
        file.write(data.first(g_writeLimit).toByteArray());
        fail(QStringLiteral("No space left on device"));
    }
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
    if (!file.commit())
        fail(file.errorString());
    format = newFormat;
}

void setTextFileWriteLimit(qint64 bytes)
{
    g_writeLimit = bytes;
}
