// The per-view column layout in the user's INI file: one key per column, its field name,
// with "1" or "0" for visible or hidden, a comma, and the width in pixels ("f_Bmmc=1,212").
#include "common/IniProfile.h"
#include "common/TextRoutines.h"
#include "grid/TAdvDBGridEh.h"

namespace kestrane::grid {

namespace {

const QString kMissingEntry = QStringLiteral("1,0");
constexpr qint64 kMaxColumnWidth = 100000;

// A directory always ends in a separator; an empty one becomes "\", which the INI layer
// reads as the host executable's directory.
QString layoutDirectory(const QString& directory) {
    if (directory.endsWith(u'\\') || directory.endsWith(u'/'))
        return directory;
    return directory.isEmpty() ? QStringLiteral("\\") : directory + u'/';
}

} // namespace

void TAdvDBGridEh::SaveColumnLayout(const QString& fileName, const QString& section,
                                    const QString& directory) {
    const QString folder = layoutDirectory(directory);
    for (const auto& c : m_columns)
        WriteIniValue(fileName, section, c->FieldName,
                      QString(c->Visible() ? u'1' : u'0') + u',' + QString::number(c->Width()),
                      folder);
}

void TAdvDBGridEh::LoadColumnLayout(const QString& fileName, const QString& section,
                                    const QString& directory) {
    const QString folder = layoutDirectory(directory);
    m_applyingLayout = true;
    for (const auto& c : m_columns) {
        const QString value = ReadIniValue(fileName, section, c->FieldName, kMissingEntry, folder);
        const qsizetype comma = value.indexOf(u',');
        const QString visiblePart = comma < 0 ? QString() : value.left(comma);
        const QString widthPart = comma < 0 ? value : value.mid(comma + 1);
        c->setVisible(c->Tag != 1 && visiblePart == QStringLiteral("1"));
        // A width of 0 keeps the designed width; so does a negative one, which no column
        // can have.
        int64_t width = 0;
        if (TextToInt64(widthPart, width) && widthPart != QStringLiteral("0")) {
            if (width > 0)
                c->setWidth(int(std::min<qint64>(width, kMaxColumnWidth)));
        }
    }
    m_applyingLayout = false;
}

} // namespace kestrane::grid
