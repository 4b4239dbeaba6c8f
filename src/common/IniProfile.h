#pragma once
// Single keys of the per-user INI file, with the semantics of the Windows profile functions:
// section and key names match without regard to case, every call opens and closes the file,
// nothing is cached, other sections and keys survive a write, and the file text is GBK.
#include <QString>

namespace kestrane {

// The product's per-user settings file, kept beside the host executable.
inline const QString kUserIniFile = QStringLiteral("Zanvexpos.ini");

// folder + fileName when folder is neither empty nor "\" (no separator is added); otherwise
// the running program's directory followed by fileName.
QString IniFilePath(const QString& fileName, const QString& folder);

// The key's value (at most 2047 characters), or defaultValue when the file, the section or
// the key is missing.
QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue, const QString& folder = QString());

// Writes key=value into the section, creating file and section when needed. Throws
// kestrane::Error naming the path when the file cannot be written.
void WriteIniValue(const QString& fileName, const QString& section, const QString& key,
                   const QString& value, const QString& folder = QString());

} // namespace kestrane
