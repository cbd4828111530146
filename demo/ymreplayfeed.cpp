#include "ymreplayfeed.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int kMaxQuantity = 100000;
constexpr int kSilentSeconds = 15 * 60;
const QString kPieceFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

QDateTime eventTime(const QString &text, const QDate &day)
{
    QDateTime full = QDateTime::fromString(text, kPieceFormat);
    if (full.isValid())
        return full;
    for (const QString &format : {QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")}) {
        const QTime t = QTime::fromString(text, format);
        if (t.isValid())
            return QDateTime(day, t);
    }
    return QDateTime();
}

// A refused line goes to a terminal: its control characters are shown as
// escapes, never sent.
QString printable(const QString &line)
{
    QString out;
    for (const QChar c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

bool YmReplayFeed::load(const QString &path, const QDate &day, const QSet<QString> &knownMachines,
                        QStringList *problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problems->append(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    parse(in.readAll(), path, day, knownMachines, problems);
    return true;
}

void YmReplayFeed::parse(const QString &text, const QString &name, const QDate &day,
                         const QSet<QString> &knownMachines, QStringList *problems)
{
    m_events.clear();
    m_next = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool seenData = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        auto problem = [&](const QString &what) {
            problems->append(
                QStringLiteral("%1:%2: %3: %4").arg(name).arg(i + 1).arg(what, printable(line)));
        };
        QStringList fields = line.split(QLatin1Char(','));
        for (QString &field : fields)
            field = field.trimmed();
        if (!seenData && fields.value(0).compare(QLatin1String("time"), Qt::CaseInsensitive) == 0)
            continue; // the header
        seenData = true;
        if (fields.size() != 4) {
            problem(QStringLiteral("expected 4 fields, found %1").arg(fields.size()));
            continue;
        }
        Event event;
        event.at = eventTime(fields.at(0), day);
        event.macKey = fields.at(1);
        event.fileName = fields.at(2);
        bool ok = false;
        event.quantity = fields.at(3).toInt(&ok);
        if (!event.at.isValid()) {
            problem(QStringLiteral("bad time"));
        } else if (event.macKey.isEmpty() || event.fileName.isEmpty()) {
            problem(QStringLiteral("empty machine key or file name"));
        } else if (!knownMachines.isEmpty() && !knownMachines.contains(event.macKey)) {
            problem(QStringLiteral("unknown machine %1").arg(event.macKey));
        } else if (!ok || event.quantity <= 0 || event.quantity > kMaxQuantity) {
            problem(QStringLiteral("bad quantity"));
        } else {
            m_events.append(event);
        }
    }
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const Event &a, const Event &b) { return a.at < b.at; });
}

QDateTime YmReplayFeed::firstEventTime() const
{
    return m_events.isEmpty() ? QDateTime() : m_events.first().at;
}

void YmReplayFeed::setMachines(const QList<YmMachineRecord> &machines)
{
    m_states.clear();
    for (const YmMachineRecord &m : machines)
        m_states.insert(m.key, 1);
}

void YmReplayFeed::startAt(const QDateTime &moment)
{
    m_position = moment;
    m_next = 0;
    while (m_next < m_events.size() && m_events.at(m_next).at <= moment)
        ++m_next;
}

YmProductionBatch YmReplayFeed::advanceTo(const QDateTime &moment)
{
    YmProductionBatch batch;
    if (!moment.isValid() || !m_position.isValid() || moment <= m_position)
        return batch;
    while (m_next < m_events.size() && m_events.at(m_next).at <= moment) {
        const Event &event = m_events.at(m_next++);
        batch.pieces.append(
            {event.macKey, event.fileName, event.at.toString(kPieceFormat), event.quantity});
        m_lastSeen.insert(event.macKey, event.at);
        if (m_states.value(event.macKey, 1) != 2) {
            m_states.insert(event.macKey, 2);
            batch.states.append({event.macKey, 2});
        }
    }
    for (auto it = m_states.begin(); it != m_states.end(); ++it) {
        if (it.value() == 2 && m_lastSeen.value(it.key()).secsTo(moment) > kSilentSeconds) {
            it.value() = 1;
            batch.states.append({it.key(), 1});
        }
    }
    m_position = moment;
    return batch;
}
