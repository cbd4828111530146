#include "ympager.h"

#include <QtGlobal>

#include <cmath>

int YmPager::fit(double room, double itemSize)
{
    if (!(itemSize > 0) || !(room > 0))
        return 1;
    const double n = std::floor(room / itemSize);
    return n >= 1.0 ? int(qMin(n, 1e6)) : 1;
}

void YmPager::setLayout(int itemCount, int perPage)
{
    m_items = qMax(0, itemCount);
    m_perPage = qMax(1, perPage);
    setPage(m_page);
}

void YmPager::setPage(int page)
{
    m_page = qBound(0, page, pageCount() - 1);
}

void YmPager::next()
{
    m_page = m_page + 1 < pageCount() ? m_page + 1 : 0;
}

int YmPager::pageCount() const
{
    return qMax(1, (m_items + m_perPage - 1) / m_perPage);
}

int YmPager::count() const
{
    return qBound(0, m_items - first(), m_perPage);
}

int YmPager::pageOf(int item) const
{
    return qBound(0, item / m_perPage, pageCount() - 1);
}

int YmPager::firstOf(int page) const
{
    return qBound(0, page, pageCount() - 1) * m_perPage;
}

QString YmPager::caption() const
{
    if (!isPaging())
        return QString();
    return QString::number(m_page + 1) + QLatin1Char('/') + QString::number(pageCount());
}
