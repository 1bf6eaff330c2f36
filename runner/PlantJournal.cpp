#include "PlantJournal.h"

#include "ProductionRunner.h"
#include "sim/BeltTransport.h"
#include "sim/ProductTray.h"

#include <QStringList>

std::map<int, PlantJournal::TrayRecord> PlantJournal::read(const QString& path, QStringList* unreadable) {
    std::map<int, TrayRecord> trays;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return trays;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QList<QByteArray> w = lines[n].simplified().split(' ');
        if (w.size() == 1 && w[0].isEmpty()) continue;
        bool ok1 = false, ok2 = w.size() < 3;
        const int serial = w.size() >= 2 ? w[1].toInt(&ok1) : 0;
        const int value = w.size() >= 3 ? w[2].toInt(&ok2) : 0;
        // A kill may cut the last line short.
        const bool known = (w[0] == "tray" || w[0] == "label" || w[0] == "gone" || w[0] == "back")
                               ? w.size() == 3
                               : w[0] == "away" && w.size() == 2;
        if (!known || !ok1 || !ok2 || serial <= 0) {
            if (unreadable) unreadable->append(QString("line %1: %2").arg(n + 1).arg(QString(lines[n])));
            continue;
        }
        TrayRecord& t = trays[serial];
        if (w[0] == "tray")
            t.cells = value;
        else if (w[0] == "label")
            ++t.labels[value];
        else if (w[0] == "gone")
            t.gone.insert(value);
        else if (w[0] == "back")
            t.gone.erase(value);
        else
            t.away = true;
    }
    return trays;
}

PlantJournal::PlantJournal(ProductionRunner& runner, const QString& path) : r(runner), m_file(path) {}

QByteArray PlantJournal::readAll() const {
    QFile f(m_file.fileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool PlantJournal::restore(QString* error) {
    const QByteArray before = readAll();
    // Lines a kill cut short stay behind, unread.
    const std::map<int, TrayRecord> trays = read(m_file.fileName());
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QString("cannot write the plant file %1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    // A cut line must not run into the next one.
    if (!before.isEmpty() && !before.endsWith('\n')) write("");
    if (trays.empty()) return true;
    const int last = trays.rbegin()->first;
    const TrayRecord& t = trays.rbegin()->second;
    auto lock = r.plant().lock();
    if (t.away) {
        r.workcell().tray().continueSerials(last);
        return true;
    }
    sim::BeltTransport* belt = sim::findBelts(r.plant()).finished;
    if (!belt) {
        *error = "the plant has no belt to put the tray back on";
        return false;
    }
    r.workcell().tray().continueSerials(last - 1);
    sim::Tray tray;
    tray.id = 0x40000000 + last;
    tray.front = sim::BeltTransport::kAssemblyStop;
    tray.barrels.assign(size_t(std::max(0, t.cells)), true);
    belt->placeTray(tray);
    m_restoreSerial = last;
    m_restore = t;
    return true;
}

void PlantJournal::write(const QByteArray& line) {
    // One write per line straight to the file: what a kill leaves is whole up to it.
    m_file.write(line + "\n");
    m_file.flush();
}

void PlantJournal::watch() {
    auto lock = r.plant().lock();
    sim::ProductTray& t = r.workcell().tray();
    const std::vector<sim::Placement>& placed = r.workcell().placements().items();
    for (size_t i = size_t(m_placementsSeen); i < placed.size(); ++i)
        write(QByteArray("label ") + QByteArray::number(placed[i].tray) + " " +
              QByteArray::number(placed[i].cell));
    m_placementsSeen = int(placed.size());
    if (m_serial && (!t.loaded() || t.traySerial() != m_serial)) {
        write("away " + QByteArray::number(m_serial));
        m_serial = 0;
    }
    if (t.loaded() && m_serial == 0) {
        m_serial = t.traySerial();
        if (m_serial == m_restoreSerial) {
            for (const auto& [cell, times] : m_restore.labels) {
                if (cell < 1 || cell > int(t.cells().size())) continue;
                sim::Barrel& b = t.barrel(cell);
                sim::Label l;
                l.x = b.x;
                l.y = b.y;
                l.angle = b.angle;
                t.placeLabel(cell, l);
            }
            for (int cell : m_restore.gone)
                if (cell >= 1 && cell <= int(t.cells().size())) t.barrel(cell).present = false;
            m_restoreSerial = 0;
        } else {
            write("tray " + QByteArray::number(m_serial) + " " + QByteArray::number(int(t.cells().size())));
        }
        m_present.assign(t.cells().size(), 0);
        for (size_t c = 0; c < t.cells().size(); ++c) m_present[c] = t.cells()[c].present;
    }
    if (!m_serial) return;
    for (size_t c = 0; c < t.cells().size() && c < m_present.size(); ++c) {
        const char now = t.cells()[c].present;
        if (now == m_present[c]) continue;
        write(QByteArray(now ? "back " : "gone ") + QByteArray::number(m_serial) + " " +
              QByteArray::number(int(c + 1)));
        m_present[c] = now;
    }
}
