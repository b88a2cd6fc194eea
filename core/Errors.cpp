#include "core/Errors.h"

int StrToInt(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith(QLatin1Char('$')))
        value = trimmed.mid(1).toInt(&ok, 16);
    else if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && trimmed.size() > 2)
        value = trimmed.mid(2).toInt(&ok, 16);
    else
        value = trimmed.toInt(&ok, 10);
    if (!ok || trimmed.size() != text.size())
        throw ConversionError(text);
    return value;
}
