#pragma once
// Vision settings window of the vision library: the task list with each task's last
// result, the selected task's image, and the selected task's settings (verdict,
// result values, text, processing time). Lives as the "视觉设置" page of the main window.
//
// readfilepara()/savefilepara() load/save the settings of the current recipe
// (taskdata::visionDir()); "保存" emits m_sigsavedata, "点动" emits m_jogshow.
// Settings can be changed by a logged-in user (taskdata user level 1 or more); "执行"
// runs the selected task in manual mode only.
#include <QTimer>
#include <QWidget>

class QTableWidgetItem;
namespace Ui {
class CVMainWindow;
}
namespace KZCV {
namespace ImageControl {
class QHalconWindow;
}
} // namespace KZCV

class CVMainWindow : public QWidget {
    Q_OBJECT
public:
    explicit CVMainWindow(QWidget* parent = nullptr);
    ~CVMainWindow() override;

    int selectedTask() const;
    QString settingsTitle() const;
    // The last message of the window's message line.
    QString message() const;

public slots:
    bool readfilepara();
    bool savefilepara();
    void setCurrentTast(int task);
    // Task states, camera states and which controls may be used; every 200 ms while
    // the window is on screen, and when it appears.
    void refreshView();

signals:
    void m_sigsavedata();
    void m_jogshow();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void taskFinished(int task, QStringList texts);
    void rowChanged();
    void settingEdited();
    void valueEdited(QTableWidgetItem* item);

private:
    void buildRows();
    void fillRow(int task);
    void showSettings(int task);
    void showMessage(const QString& text, bool error);

    Ui::CVMainWindow* ui;
    KZCV::ImageControl::QHalconWindow* m_view;
    QTimer m_refresh;
    bool m_loading = false;
    QString m_title; // the selected task, shown in the settings title
};
