#pragma once
// The prepared pages of a report: page records with their view streams, and the background
// pictures they refer to by index. Preview, printing and the exporters unpack one page at a
// time into a page object with its views.
#include "report/TRMEMFPage.h"
#include "report/TRMPicture.h"

#include <QList>
#include <QObject>
#include <memory>

namespace kestrane::report {

class TRMPage;

struct TRMBackgroundPicture {
    qint32 Left = 0, Top = 0, Width = 0, Height = 0;
    TRMPicture Picture;
    friend bool operator==(const TRMBackgroundPicture&, const TRMBackgroundPicture&) = default;
};

class TRMEMFPages : public QObject {
    Q_OBJECT
public:
    explicit TRMEMFPages(QObject* parent = nullptr) : QObject(parent) {}

    int Count() const { return int(m_pages.size()); }
    TRMEMFPage& page(int index) { return m_pages[index]; }
    const TRMEMFPage& page(int index) const { return m_pages[index]; }
    const QList<TRMEMFPage>& pages() const { return m_pages; }
    void append(const TRMEMFPage& page) { m_pages.append(page); }
    void insert(int index, const TRMEMFPage& page) { m_pages.insert(index, page); }
    void removeAt(int index) { m_pages.removeAt(index); }
    void move(int from, int to) { m_pages.move(from, to); }
    void Clear();

    QList<TRMBackgroundPicture> Backgrounds;

    // The page's views read from its stream into a new page object (the caller owns it).
    // Throws kestrane::Error for a damaged stream, naming the page and the offset.
    std::unique_ptr<TRMPage> unpackPage(int index) const;

private:
    QList<TRMEMFPage> m_pages;
};

} // namespace kestrane::report
