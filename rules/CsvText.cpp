#include "rules/CsvText.h"

#include <QRegularExpression>

namespace quorin::csv {

namespace {

bool StartsLikeAFormula(const QString& value)
{
    if (value.isEmpty())
        return false;
    const QChar c = value.front();
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@')
           || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

bool IsNumber(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return number.match(value).hasMatch();
}

QString Quoted(const QString& value)
{
    bool quote = false;
    for (const QChar c : value) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            quote = true;
            break;
        }
    }
    if (!quote)
        return value;
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : value) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

QString Field(const QString& value)
{
    if (StartsLikeAFormula(value) && !IsNumber(value))
        return Quoted(QLatin1Char('\'') + value);
    return Quoted(value);
}

QString Line(const QStringList& fields)
{
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += QLatin1Char(',');
        out += Field(fields[i]);
    }
    out += QLatin1String("\r\n");
    return out;
}

QByteArray FileStart()
{
    return QByteArrayLiteral("\xEF\xBB\xBF");
}

} // namespace quorin::csv
