#include "base/CharacterText.h"

#include <QList>

QString CharacterText(char32_t ch)
{
    QString text = QStringLiteral("U+%1").arg(uint(ch), 4, 16, QLatin1Char('0')).toUpper();
    if (QChar::isPrint(ch))
        text += QStringLiteral("（%1）").arg(QString::fromUcs4(&ch, 1));
    return text;
}

QString CharacterText(const QString& character)
{
    return CharacterText(char32_t(character.toUcs4().value(0)));
}
