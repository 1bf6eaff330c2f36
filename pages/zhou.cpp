#include "zhou.h"
#include "ui_zhou.h"

#include "pages/axisct.h"

#include <QHBoxLayout>

zhou::zhou(QWidget* parent) : QDialog(parent), ui(new Ui::zhou) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    for (int row = 0; row < 2; ++row) {
        auto* line = new QHBoxLayout;
        for (int col = 0; col < 4; ++col) {
            auto* w = new axisct(this);
            w->setAxis(short(row * 4 + col));
            line->addWidget(w);
            m_axes.append(w);
        }
        ui->verticalLayout->addLayout(line);
    }
    // Channel 7 drives nothing on this machine.
    m_axes[7]->setEnabled(false);
    // The rows would otherwise widen the page to their preferred size.
    resize(1100, 1200);
}

zhou::~zhou() {
    delete ui;
}

// The axis panels keep no parameters of their own.
void zhou::inituitovar() {}

void zhou::initvartoui() {}
