#pragma once
// The login dialog: one of the three accounts and its password set the user level.
#include <QDialog>

namespace Ui {
class Login1;
}

class Login1 : public QDialog {
    Q_OBJECT
public:
    explicit Login1(QWidget* parent = nullptr);
    ~Login1() override;

signals:
    // After a successful login and after a log-out: the title shows the user.
    void S_dengluok();

private slots:
    void on_pushButton_3_clicked(); // "登录"
    void on_pushButton_2_clicked(); // "退出"
    void on_pushButton_clicked();   // "关闭"

private:
    Ui::Login1* ui;
};
