#include "sim/IoNames.h"

namespace {

const char* const kSpare = "空";

// Entry i names image index i; nullptr marks a spare point.
const char* const kInputs[IoNames::kCount] = {
    "急停", "启动", "暂停", "报警清除", "复位", "前安全门", "后安全门", "左安全门", "右安全门", "NG换盘",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // CAN node 1
    "供料器报警", "供料器初始化完成", "供料器有料", "镜筒NG盘光电", "标签NG盒光电", "标签NG盒满料光电",
    "成品线进光电", "成品线出光电", "成品线缓存位光电", "成品线组装位光电", "空盘线进光电", "空盘线出光电",
    "供料器缺料光电", nullptr, nullptr, nullptr,
    // CAN node 2
    "吸笔真空信号", "吸笔上位", "吸笔下位", "NG夹子张开位", "NG夹子夹紧位", "缓存阻挡上位", "缓存阻挡下位",
    "组装阻挡上位", "组装阻挡下位", "组装升降上位", "组装升降下位", "NG盘缩回位", "NG盘伸出位", nullptr,
    nullptr, nullptr,
    // CAN node 3: hand-shake with the neighbouring machines
    "成品线进IN_Ready", "成品线进IN_Busy", "成品线进IN_Beg", "成品线出IN_Ready", "成品线出IN_Recive",
    "成品线出IN_Compeled", "空盘线进IN_Ready", "空盘线进IN_Busy", "空盘线进IN_Beg", "空盘线出IN_Ready",
    "空盘线出IN_Recive", "空盘线出IN_Compeled", nullptr, nullptr, nullptr, nullptr};

const char* const kOutputs[IoNames::kCount] = {
    "报警灯红", "报警灯黄", "报警灯绿", "报警声音", "照明灯", "启动按钮灯", "暂停按钮灯", "报警清除按钮灯",
    "复位按钮灯", "NG换盘按钮灯", "安全门锁", nullptr, nullptr, nullptr, nullptr, nullptr,
    // CAN node 1
    "上相机同轴光源", "上相机环形光源", "下相机环形光源", "供料器初始化", "供料器送料开始", "供料器真空阀",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // CAN node 2: valves
    "吸笔真空", "吸笔反吹", "吸笔升降", "NG夹子张开", "NG夹子夹紧", "缓存阻挡上升", "缓存阻挡下降",
    "组装阻挡上升", "组装阻挡下降", "组装升降上升", "组装升降下降", "NG盘缩回", "NG盘伸出", nullptr, nullptr,
    nullptr,
    // CAN node 3
    "成品线进OT_Ready", "成品线进OT_Recive", "成品线进OT_Compeled", "成品线出OT_Ready", "成品线出OT_Busy",
    "成品线出OT_Beg", "空盘线进OT_Ready", "空盘线进OT_Recive", "空盘线进OT_Compeled", "空盘线出OT_Ready",
    "空盘线出OT_Busy", "空盘线出OT_Beg", nullptr, nullptr, nullptr, nullptr};

bool inRange(int index) {
    return index >= 0 && index < IoNames::kCount;
}

QString nameOf(const char* const* table, int index) {
    if (!inRange(index) || !table[index]) return QString::fromUtf8(kSpare);
    return QString::fromUtf8(table[index]);
}

} // namespace

QString IoNames::input(int index) {
    return nameOf(kInputs, index);
}
QString IoNames::output(int index) {
    return nameOf(kOutputs, index);
}
bool IoNames::inputSpare(int index) {
    return !inRange(index) || !kInputs[index];
}
bool IoNames::outputSpare(int index) {
    return !inRange(index) || !kOutputs[index];
}

int IoNames::node(int index) {
    return inRange(index) ? index / 16 : -1;
}
int IoNames::bit(int index) {
    return inRange(index) ? index % 16 : -1;
}

QString IoNames::address(int index) {
    if (!inRange(index)) return QString();
    if (node(index) == 0) return QString::fromUtf8("卡 %1").arg(bit(index));
    return QString("CAN%1 %2").arg(node(index)).arg(bit(index));
}
