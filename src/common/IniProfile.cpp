#include "common/IniProfile.h"

#include "common/Error.h"
#include "common/Gbk.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kestrane {

namespace {

constexpr qsizetype kMaxValueLength = 2047;

struct IniLine {
    enum Kind { Other, Section, Key } kind = Other;
    QString name; // section or key name, trimmed
    QString value;
    QString raw;
};

IniLine parseLine(const QString& raw) {
    IniLine line;
    line.raw = raw;
    const QString t = raw.trimmed();
    if (t.startsWith(u'[')) {
        qsizetype close = t.indexOf(u']');
        line.kind = IniLine::Section;
        line.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        return line;
    }
    if (t.isEmpty() || t.startsWith(u';'))
        return line;
    qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return line;
    line.kind = IniLine::Key;
    line.name = t.left(eq).trimmed();
    line.value = t.mid(eq + 1).trimmed();
    return line;
}

QList<IniLine> readLines(const QString& path, bool* exists = nullptr) {
    QList<IniLine> lines;
    QFile file(path);
    if (exists)
        *exists = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QString text = gbk::decode(file.readAll());
    const QStringList raw = text.split(u'\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QString l = raw[i];
        if (l.endsWith(u'\r'))
            l.chop(1);
        if (i == raw.size() - 1 && l.isEmpty())
            break; // the newline that ends the last line
        lines.append(parseLine(l));
    }
    return lines;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value written between matching quotes is read without them, as the profile functions do.
QString unquote(const QString& v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

} // namespace

QString IniFilePath(const QString& fileName, const QString& folder) {
    if (!folder.isEmpty() && folder != QStringLiteral("\\"))
        return folder + fileName;
    return QCoreApplication::applicationDirPath() + u'/' + fileName;
}

QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue, const QString& folder) {
    const QList<IniLine> lines = readLines(IniFilePath(fileName, folder));
    bool inSection = false;
    for (const IniLine& line : lines) {
        if (line.kind == IniLine::Section)
            inSection = sameName(line.name, section);
        else if (inSection && line.kind == IniLine::Key && sameName(line.name, key))
            return unquote(line.value).left(kMaxValueLength);
    }
    return defaultValue.left(kMaxValueLength);
}

void WriteIniValue(const QString& fileName, const QString& section, const QString& key,
                   const QString& value, const QString& folder) {
    const QString path = IniFilePath(fileName, folder);
    QList<IniLine> lines = readLines(path);
    const QString keyLine = key + u'=' + value;

    qsizetype sectionAt = -1, insertAt = -1, keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (line.kind == IniLine::Section) {
            if (sectionAt >= 0 && keyAt < 0)
                break; // end of our section
            if (sectionAt < 0 && sameName(line.name, section)) {
                sectionAt = i;
                insertAt = i + 1;
            }
        } else if (sectionAt >= 0 && line.kind == IniLine::Key) {
            insertAt = i + 1;
            if (sameName(line.name, key)) {
                keyAt = i;
                break;
            }
        }
    }
    if (keyAt >= 0) {
        lines[keyAt] = parseLine(keyLine);
    } else if (sectionAt >= 0) {
        lines.insert(insertAt, parseLine(keyLine));
    } else {
        lines.append(parseLine(u'[' + section + u']'));
        lines.append(parseLine(keyLine));
    }

    QString text;
    for (const IniLine& line : lines)
        text += line.raw + QStringLiteral("\r\n");
    // Written to a side file and renamed over the old one, so a failed write never leaves a
    // half-written settings file behind.
    QSaveFile file(path);
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isWritable())
        throw Error(QStringLiteral("无法写入文件 %1: 文件是只读的").arg(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(gbk::encode(text)) < 0 || !file.commit())
        throw Error(QStringLiteral("无法写入文件 %1: %2").arg(path, file.errorString()));
}

} // namespace kestrane
