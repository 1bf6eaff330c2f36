#pragma once
// The virtual machine's own window, shown beside the program: what the plant's
// axes and I/O are doing, the operator's hardware (buttons, emergency stop,
// doors) and the faults a person can inject. It talks to the plant only, never
// through the card, so it shows the machine as it is, not as the program sees it.
#include <QWidget>

#include <array>
#include <vector>

namespace sim {
class Plant;
class VirtualMachine;
} // namespace sim
namespace Ui {
class VmPanel;
}
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QTableWidget;
class QTableWidgetItem;
class QTimer;
class VmPanelLamp;

class VmPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kAxes = 12;
    static constexpr int kIo = 64;
    static constexpr int kCylinders = 6;
    static constexpr int kRefreshMs = 100;

    explicit VmPanel(sim::Plant& plant, QWidget* parent = nullptr);
    ~VmPanel() override;

    // Makes this panel the window the platform shows beside the main window.
    static void registerAsCompanion();

    // Where the panel goes on the desktop: right of the main window when there is
    // room; else at the desktop's right edge, clear of the window's left button
    // column and its message area (global rectangles), as large as that allows.
    static QRect placement(const QRect& desktop, const QRect& window, const QRect& buttonColumn,
                           const QRect& messages, const QSize& preferred, const QSize& least);
    // Places the panel by placement() beside the program's main window, if one is shown.
    void placeBesideMainWindow();

    VmPanelLamp* inputLamp(int image) const;
    VmPanelLamp* outputLamp(int image) const;

public slots:
    // Reads the plant into every indicator; the panel's own timer calls it.
    void refresh();
    void clearFaults();

protected:
    void showEvent(QShowEvent* event) override;
    bool m_placed = false;

private:
    struct AxisRow {
        QTableWidgetItem* command = nullptr;
        QTableWidgetItem* encoder = nullptr;
        QTableWidgetItem* state = nullptr;
        VmPanelLamp* enabled = nullptr;
        VmPanelLamp* alarm = nullptr;
        VmPanelLamp* limitPos = nullptr;
        VmPanelLamp* limitNeg = nullptr;
        VmPanelLamp* origin = nullptr;
        VmPanelLamp* homed = nullptr;
        QTableWidgetItem* mech = nullptr;
        QTableWidgetItem* velocity = nullptr;
        QTableWidgetItem* equiv = nullptr;
        QTableWidgetItem* pin = nullptr;
        QTableWidgetItem* stopReason = nullptr;
    };
    struct AxisFaultRow {
        QCheckBox* servoAlarm = nullptr;
        QCheckBox* limitPos = nullptr;
        QCheckBox* limitNeg = nullptr;
        QComboBox* homing = nullptr;
    };
    struct CylinderRow {
        VmPanelLamp* valveA = nullptr;
        VmPanelLamp* valveB = nullptr;
        QProgressBar* position = nullptr;
        VmPanelLamp* sensorA = nullptr;
        VmPanelLamp* sensorB = nullptr;
        QCheckBox* stuck = nullptr;
        QCheckBox* brokenA = nullptr;
        QCheckBox* brokenB = nullptr;
    };
    // A lamp that follows one plant point.
    struct Watched {
        VmPanelLamp* lamp;
        bool output;
        int image;
    };

    void buildStrip();
    void buildAxes();
    void buildIo();
    void buildOperator();
    void buildFaults();
    void setEstopLook(bool pressed);
    void setDoorLook(int door, bool open);
    void refreshAxes();
    void refreshIo();
    void refreshOperator();
    void syncFaults();
    VmPanelLamp* watch(VmPanelLamp* lamp, bool output, int image);
    QWidget* lampCell(VmPanelLamp** lamp, const QColor& color, const QString& text = QString());

    Ui::VmPanel* ui;
    sim::Plant& m_plant;
    QTimer* m_timer;
    std::array<AxisRow, kAxes> m_axisRows;
    std::array<AxisFaultRow, kAxes> m_axisFaults;
    std::array<CylinderRow, kCylinders> m_cylRows;
    std::array<VmPanelLamp*, kIo> m_inLamps{};
    std::array<VmPanelLamp*, kIo> m_outLamps{};
    std::array<QComboBox*, kIo> m_forces{};
    std::array<QAbstractButton*, 4> m_doorButtons{};
    std::array<QCheckBox*, 3> m_canLost{};
    std::vector<Watched> m_watched;
    std::vector<QTableWidget*> m_fitted;
    VmPanelLamp* m_holdingLamp = nullptr;
    QTableWidgetItem* m_estopInput = nullptr;
};
