#pragma once
// Names of the machine's 64 inputs and 64 outputs by I/O number: 0..15 the
// card's own bits, 16..31, 32..47 and 48..63 CAN nodes 1, 2 and 3. "空" marks a
// spare point. UTF-8 text, so the names do not depend on the locale.
#include <QString>

namespace IoTable {

constexpr int kCount = 64;
constexpr const char* kSpare = "空";

inline const char* const kInputNames[kCount] = {
    // card
    "急停",
    "启动",
    "暂停",
    "报警清除",
    "复位",
    "前安全门",
    "后安全门",
    "左安全门",
    "右安全门",
    "NG换盘",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    // CAN node 1
    "供料器报警",
    "供料器初始化完成",
    "供料器有料",
    "镜筒NG盘光电",
    "标签NG盒光电",
    "标签NG盒满料光电",
    "成品线进光电",
    "成品线出光电",
    "成品线缓存位光电",
    "成品线组装位光电",
    "空盘线进光电",
    "空盘线出光电",
    "供料器缺料光电",
    "空",
    "空",
    "空",
    // CAN node 2
    "吸笔真空信号",
    "吸笔上位",
    "吸笔下位",
    "NG夹子张开位",
    "NG夹子夹紧位",
    "缓存阻挡上位",
    "缓存阻挡下位",
    "组装阻挡上位",
    "组装阻挡下位",
    "组装升降上位",
    "组装升降下位",
    "NG盘缩回位",
    "NG盘伸出位",
    "空",
    "空",
    "空",
    // CAN node 3
    "成品线进IN_Ready",
    "成品线进IN_Busy",
    "成品线进IN_Beg",
    "成品线出IN_Ready",
    "成品线出IN_Recive",
    "成品线出IN_Compeled",
    "空盘线进IN_Ready",
    "空盘线进IN_Busy",
    "空盘线进IN_Beg",
    "空盘线出IN_Ready",
    "空盘线出IN_Recive",
    "空盘线出IN_Compeled",
    "空",
    "空",
    "空",
    "空",
};

inline const char* const kOutputNames[kCount] = {
    // card
    "报警灯红",
    "报警灯黄",
    "报警灯绿",
    "报警声音",
    "照明灯",
    "启动按钮灯",
    "暂停按钮灯",
    "报警清除按钮灯",
    "复位按钮灯",
    "NG换盘按钮灯",
    "安全门锁",
    "空",
    "空",
    "空",
    "空",
    "空",
    // CAN node 1
    "上相机同轴光源",
    "上相机环形光源",
    "下相机环形光源",
    "供料器初始化",
    "供料器送料开始",
    "供料器真空阀",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    "空",
    // CAN node 2
    "吸笔真空",
    "吸笔反吹",
    "吸笔升降",
    "NG夹子张开",
    "NG夹子夹紧",
    "缓存阻挡上升",
    "缓存阻挡下降",
    "组装阻挡上升",
    "组装阻挡下降",
    "组装升降上升",
    "组装升降下降",
    "NG盘缩回",
    "NG盘伸出",
    "空",
    "空",
    "空",
    // CAN node 3
    "成品线进OT_Ready",
    "成品线进OT_Recive",
    "成品线进OT_Compeled",
    "成品线出OT_Ready",
    "成品线出OT_Busy",
    "成品线出OT_Beg",
    "空盘线进OT_Ready",
    "空盘线进OT_Recive",
    "空盘线进OT_Compeled",
    "空盘线出OT_Ready",
    "空盘线出OT_Busy",
    "空盘线出OT_Beg",
    "空",
    "空",
    "空",
    "空",
};

inline QString inputName(int i) {
    return QString::fromUtf8(i >= 0 && i < kCount ? kInputNames[i] : kSpare);
}
inline QString outputName(int i) {
    return QString::fromUtf8(i >= 0 && i < kCount ? kOutputNames[i] : kSpare);
}

} // namespace IoTable
