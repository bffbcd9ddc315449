#include "ui/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

void installFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList sans = {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Noto Sans"), QStringLiteral("VL PGothic"), QStringLiteral("IPAexGothic")};
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
    // Fixed pitch matters in the line editor: columns of digits must line up.
    const QStringList mono
        = {QStringLiteral("VL Gothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
           QStringLiteral("TakaoGothic"), QStringLiteral("DejaVu Sans Mono")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), mono);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), mono);
}

QFont pixelFont(const QString &family, int pixels)
{
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}
