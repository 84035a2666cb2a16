#include "text_codec.h"

#include "cp1251.h"

#include <QList>

namespace tarmel {

QString toQt(const std::string& text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        result.append(QChar(static_cast<char16_t>(cp1251::toUnicode(c))));
    return result;
}

std::string fromQt(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t codePoint : text.toUcs4())
        result += cp1251::fromUnicode(codePoint);
    return result;
}

} // namespace tarmel
