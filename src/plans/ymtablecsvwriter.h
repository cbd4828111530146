#ifndef YMTABLECSVWRITER_H
#define YMTABLECSVWRITER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

class QAbstractItemModel;
class QHeaderView;

// Writes a table model as the user sees it to a CSV file a spreadsheet opens
// with its Chinese texts intact: UTF-8 with a byte order mark, fields quoted
// where needed, CRLF after every record. Give it the proxy the view shows, so
// that grouping, filter and sort are those on screen.
//
//   YmTableCsvWriter writer(view->model(),
//   YmTableCsvWriter::visibleColumns(view->horizontalHeader())); if (!writer.write(fileName))
//       showError(writer.errorString());
class YmTableCsvWriter
{
    Q_DECLARE_TR_FUNCTIONS(YmTableCsvWriter)

public:
    // columns: the model's columns in the order to write; empty means all of
    // them in model order. Columns outside the model are skipped.
    explicit YmTableCsvWriter(const QAbstractItemModel *model, const QList<int> &columns = {});

    // Header line from the horizontal header texts, then one line per top-level
    // row in model order, each cell its display text. Rows the model counts
    // but gives no valid index for are left out.
    QByteArray toCsv() const;
    // Replaces fileName with toCsv() in one step: a file that cannot be written
    // is left as it was and false is returned; errorString() then names the
    // file and the reason, ready for a message box.
    bool write(const QString &fileName);
    QString errorString() const { return m_errorString; }

    // text as one CSV field: quoted, with quotes doubled, when it holds a
    // quote, a comma, a line feed or a carriage return.
    static QString field(const QString &text);
    // The columns a header shows, in their on-screen order, hidden ones left out.
    static QList<int> visibleColumns(const QHeaderView *header);

private:
    const QAbstractItemModel *m_model;
    QList<int> m_columns;
    QString m_errorString;
};

#endif // YMTABLECSVWRITER_H
