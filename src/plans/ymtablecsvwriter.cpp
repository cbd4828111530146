#include "ymtablecsvwriter.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QHeaderView>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
const QString kRecordEnd = QStringLiteral("\r\n");

} // namespace

YmTableCsvWriter::YmTableCsvWriter(const QAbstractItemModel *model, const QList<int> &columns)
    : m_model(model)
    , m_columns(columns)
{}

QByteArray YmTableCsvWriter::toCsv() const
{
    QByteArray csv = kByteOrderMark;
    if (!m_model)
        return csv;

    const int columnCount = m_model->columnCount();
    QList<int> columns;
    if (m_columns.isEmpty()) {
        for (int column = 0; column < columnCount; ++column)
            columns.append(column);
    } else {
        for (int column : m_columns) {
            if (column >= 0 && column < columnCount)
                columns.append(column);
        }
    }

    QString text;
    QStringList fields;
    fields.reserve(columns.size());
    for (int column : qAsConst(columns))
        fields.append(field(m_model->headerData(column, Qt::Horizontal).toString()));
    text += fields.join(QLatin1Char(',')) + kRecordEnd;

    const int rowCount = m_model->rowCount();
    for (int row = 0; row < rowCount; ++row) {
        // A row the model counts but does not hold (the plan table's blank
        // tail under a filter) is no part of the table shown.
        if (!m_model->index(row, 0).isValid())
            continue;
        fields.clear();
        for (int column : qAsConst(columns))
            fields.append(field(m_model->index(row, column).data().toString()));
        text += fields.join(QLatin1Char(',')) + kRecordEnd;
    }
    return csv + text.toUtf8();
}

bool YmTableCsvWriter::write(const QString &fileName)
{
    m_errorString.clear();
    QSaveFile file(fileName);
    const QByteArray csv = toCsv();
    bool written = file.open(QIODevice::WriteOnly);
    written = written && file.write(csv) == csv.size();
    if (!written)
        file.cancelWriting();
    // commit() puts the new file in place of the old one only when all of it
    // was written; until then the old file stays untouched.
    if (written && file.commit())
        return true;
    m_errorString
        = tr("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(fileName), file.errorString());
    return false;
}

QString YmTableCsvWriter::field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char('"')) || text.contains(QLatin1Char(','))
                       || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QList<int> YmTableCsvWriter::visibleColumns(const QHeaderView *header)
{
    QList<int> columns;
    if (!header)
        return columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !header->isSectionHidden(logical))
            columns.append(logical);
    }
    return columns;
}
