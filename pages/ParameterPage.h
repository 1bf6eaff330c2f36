#pragma once
// A parameter page: a view of the machine data arrays. Its widgets are copied into
// the arrays on a save (inituitovar) and back after a refresh (initvartoui); its
// save button asks the main window to save every page.
#include <QPushButton>
#include <QWidget>

class ParameterPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    // The page's "保存参数": the main window relays it so every page saves.
    void m_sigsavedata();

public slots:
    virtual void inituitovar() {} // widgets into the machine data
    virtual void initvartoui() {} // machine data into the widgets

protected:
    void relaySaveButton(QPushButton* button) {
        connect(button, &QPushButton::clicked, this, &ParameterPage::m_sigsavedata);
    }
};
