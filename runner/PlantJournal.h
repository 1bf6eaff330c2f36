#pragma once
// The product trays as the plant keeps them across a stop of the program: a crash
// kills the program, not the machine, and the tray clamped at the assembly position
// stays there with the labels it already has. Every change of the product tray is
// appended to a file as it happens (a killed process loses no line it wrote); a new
// run on the same file puts that tray back at the assembly position, with its labels
// and without the products the NG gripper took, and numbers its trays on from there.
//
// Lines: "tray S N" (tray S with N cells at the assembly position), "label S C"
// (a label placed on cell C), "gone S C" / "back S C" (the barrel left its cell or
// was put back), "away S" (the tray left the assembly position).
#include <QFile>
#include <QString>
#include <map>
#include <set>
#include <vector>

class ProductionRunner;

class PlantJournal {
public:
    struct TrayRecord {
        int cells = 0;
        std::map<int, int> labels; // cell -> labels placed on it
        std::set<int> gone;        // cells whose barrel the NG gripper took
        bool away = false;
    };
    // Every tray of the file by serial, and the lines it could not read.
    static std::map<int, TrayRecord> read(const QString& path, QStringList* unreadable = nullptr);

    PlantJournal(ProductionRunner& runner, const QString& path);
    // Before the machine runs: the tray left at the assembly position back on the belt.
    bool restore(QString* error);
    // Every 10 ms of machine time.
    void watch();

private:
    void write(const QByteArray& line);
    QByteArray readAll() const;

    ProductionRunner& r;
    QFile m_file;
    int m_restoreSerial = 0; // the tray put back, until the plant has loaded it
    TrayRecord m_restore;
    int m_serial = 0; // the tray the plant holds (0: none)
    std::vector<char> m_present;
    int m_placementsSeen = 0;
};
