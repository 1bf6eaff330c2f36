#pragma once
// Recipe management: list, create, copy, delete, rename, and make a recipe current.
// Changes are allowed only in manual mode to a logged-in user.
#include <QDialog>
#include <QMessageBox>

class ClockTimer;
class QListWidgetItem;
namespace Ui {
class Peifang1;
}

class Peifang1 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSwitchNoticeMs = 6000;

    explicit Peifang1(QWidget* parent = nullptr);
    ~Peifang1() override;

signals:
    // The current recipe changed: reload it everywhere.
    void S_xuanzhepeifang();
    // The current recipe kept its values under a new name: only the title changes.
    void currentRecipeRenamed();

public slots:
    // Enables the controls by mode and user level, every 100 ms.
    void refresh();

private slots:
    void on_pushButton_clicked();   // "返回"
    void on_pushButton_2_clicked(); // "设为当前配方"
    void on_pushButton_3_clicked(); // "新建配方"
    void on_pushButton_4_clicked(); // "复制配方"
    void on_pushButton_5_clicked(); // "删除配方"
    void on_pushButton_6_clicked(); // "配方名修改"
    void on_listWidget_itemClicked(QListWidgetItem* item);
    void switchFinished();

private:
    void setEditingEnabled(bool enabled);
    void reloadList();

    Ui::Peifang1* ui;
    QMessageBox notice;
    ClockTimer* switchTimer = nullptr;
    ClockTimer* refreshTimer = nullptr;
    bool switching = false;
};
