#pragma once
// The per-user INI file beside the test executable, written for one test and removed after.
#include "common/IniProfile.h"

#include <QFile>
#include <QStringList>

namespace kestrane::testing {

class ColorIni {
public:
    ColorIni() { remove(); }
    ~ColorIni() { remove(); }
    ColorIni(const ColorIni&) = delete;
    ColorIni& operator=(const ColorIni&) = delete;

    // Entries "key=value" in [ColorOption].
    void write(const QStringList& entries) {
        remove();
        for (const QString& entry : entries) {
            const qsizetype eq = entry.indexOf(u'=');
            WriteIniValue(kUserIniFile, QStringLiteral("ColorOption"), entry.left(eq),
                          entry.mid(eq + 1));
        }
    }
    static void remove() { QFile::remove(IniFilePath(kUserIniFile, QString())); }
};

} // namespace kestrane::testing
