#include "sim/IoNames.h"

#include "pages/IoTable.h"

#include <QCoreApplication>

#include <cstring>

namespace {

bool inRange(int index) {
    return index >= 0 && index < IoNames::kCount;
}

bool spare(const char* const* table, int index) {
    return !inRange(index) || std::strcmp(table[index], IoTable::kSpare) == 0;
}

} // namespace

// One table for the program's I/O page and the virtual machine's panel.
QString IoNames::input(int index) {
    return IoTable::inputName(index);
}
QString IoNames::output(int index) {
    return IoTable::outputName(index);
}
bool IoNames::inputSpare(int index) {
    return spare(IoTable::kInputNames, index);
}
bool IoNames::outputSpare(int index) {
    return spare(IoTable::kOutputNames, index);
}

int IoNames::node(int index) {
    return inRange(index) ? index / 16 : -1;
}
int IoNames::bit(int index) {
    return inRange(index) ? index % 16 : -1;
}

QString IoNames::address(int index) {
    if (!inRange(index)) return QString();
    if (node(index) == 0) return QCoreApplication::translate("VmPanel", "卡 %1").arg(bit(index));
    return QString("CAN%1 %2").arg(node(index)).arg(bit(index));
}
