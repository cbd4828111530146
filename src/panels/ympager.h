#ifndef YMPAGER_H
#define YMPAGER_H

#include <QString>

// Which part of a long list a wall panel shows: the list cut into pages of a
// fixed size, one page shown at a time. Plain arithmetic, so that the panels
// and the tests decide the same way.
//
//   YmPager pages;
//   pages.setLayout(300, YmPager::fit(plotHeight, minRowHeight));
//   pages.next();                  // wraps to the first page after the last
//   draw(pages.first(), pages.count()); caption(pages.caption());   // "2/50"
class YmPager
{
public:
    // How many items of `itemSize` fit in `room`; at least 1, so that a
    // cramped panel still shows one item per page rather than none.
    static int fit(double room, double itemSize);

    // Cuts itemCount items into pages of perPage (at least 1). The page shown
    // stays where it was, or becomes the last one when there are fewer now.
    void setLayout(int itemCount, int perPage);
    void setPage(int page); // clamped to the pages there are
    void next();            // wraps from the last page to the first

    int itemCount() const { return m_items; }
    int perPage() const { return m_perPage; }
    int page() const { return m_page; }
    int pageCount() const;
    bool isPaging() const { return pageCount() > 1; }
    int first() const { return m_page * m_perPage; } // first item shown
    int count() const;                               // items shown
    int pageOf(int item) const;
    int firstOf(int page) const;
    // "2/50" while paging; empty when everything fits on one page.
    QString caption() const;

private:
    int m_items = 0;
    int m_perPage = 1;
    int m_page = 0;
};

#endif // YMPAGER_H
