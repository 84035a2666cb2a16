#pragma once

// The one place where the program's Windows-1251 texts meet Qt's strings.

#include <QString>
#include <string>

namespace tarmel {

QString toQt(const std::string& text);
// A character that Windows-1251 cannot hold becomes "?".
std::string fromQt(const QString& text);

} // namespace tarmel
