#pragma once
// Names of the machine's 64 inputs and 64 outputs by I/O number: 0..15 the
// card's own bits, 16..31, 32..47 and 48..63 CAN nodes 1, 2 and 3. "空" marks a
// spare point. UTF-8 text; shown in the operator's language.
#include <QCoreApplication>
#include <QString>

namespace IoTable {

constexpr int kCount = 64;
constexpr const char* kSpare = QT_TRANSLATE_NOOP("IoTable", "空");

inline const char* const kInputNames[kCount] = {
    // card
    QT_TRANSLATE_NOOP("IoTable", "急停"),
    QT_TRANSLATE_NOOP("IoTable", "启动"),
    QT_TRANSLATE_NOOP("IoTable", "暂停"),
    QT_TRANSLATE_NOOP("IoTable", "报警清除"),
    QT_TRANSLATE_NOOP("IoTable", "复位"),
    QT_TRANSLATE_NOOP("IoTable", "前安全门"),
    QT_TRANSLATE_NOOP("IoTable", "后安全门"),
    QT_TRANSLATE_NOOP("IoTable", "左安全门"),
    QT_TRANSLATE_NOOP("IoTable", "右安全门"),
    QT_TRANSLATE_NOOP("IoTable", "NG换盘"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 1
    QT_TRANSLATE_NOOP("IoTable", "供料器报警"),
    QT_TRANSLATE_NOOP("IoTable", "供料器初始化完成"),
    QT_TRANSLATE_NOOP("IoTable", "供料器有料"),
    QT_TRANSLATE_NOOP("IoTable", "镜筒NG盘光电"),
    QT_TRANSLATE_NOOP("IoTable", "标签NG盒光电"),
    QT_TRANSLATE_NOOP("IoTable", "标签NG盒满料光电"),
    QT_TRANSLATE_NOOP("IoTable", "成品线进光电"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出光电"),
    QT_TRANSLATE_NOOP("IoTable", "成品线缓存位光电"),
    QT_TRANSLATE_NOOP("IoTable", "成品线组装位光电"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进光电"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出光电"),
    QT_TRANSLATE_NOOP("IoTable", "供料器缺料光电"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 2
    QT_TRANSLATE_NOOP("IoTable", "吸笔真空信号"),
    QT_TRANSLATE_NOOP("IoTable", "吸笔上位"),
    QT_TRANSLATE_NOOP("IoTable", "吸笔下位"),
    QT_TRANSLATE_NOOP("IoTable", "NG夹子张开位"),
    QT_TRANSLATE_NOOP("IoTable", "NG夹子夹紧位"),
    QT_TRANSLATE_NOOP("IoTable", "缓存阻挡上位"),
    QT_TRANSLATE_NOOP("IoTable", "缓存阻挡下位"),
    QT_TRANSLATE_NOOP("IoTable", "组装阻挡上位"),
    QT_TRANSLATE_NOOP("IoTable", "组装阻挡下位"),
    QT_TRANSLATE_NOOP("IoTable", "组装升降上位"),
    QT_TRANSLATE_NOOP("IoTable", "组装升降下位"),
    QT_TRANSLATE_NOOP("IoTable", "NG盘缩回位"),
    QT_TRANSLATE_NOOP("IoTable", "NG盘伸出位"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 3
    QT_TRANSLATE_NOOP("IoTable", "成品线进IN_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "成品线进IN_Busy"),
    QT_TRANSLATE_NOOP("IoTable", "成品线进IN_Beg"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出IN_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出IN_Recive"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出IN_Compeled"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进IN_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进IN_Busy"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进IN_Beg"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出IN_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出IN_Recive"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出IN_Compeled"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
};

inline const char* const kOutputNames[kCount] = {
    // card
    QT_TRANSLATE_NOOP("IoTable", "报警灯红"),
    QT_TRANSLATE_NOOP("IoTable", "报警灯黄"),
    QT_TRANSLATE_NOOP("IoTable", "报警灯绿"),
    QT_TRANSLATE_NOOP("IoTable", "报警声音"),
    QT_TRANSLATE_NOOP("IoTable", "照明灯"),
    QT_TRANSLATE_NOOP("IoTable", "启动按钮灯"),
    QT_TRANSLATE_NOOP("IoTable", "暂停按钮灯"),
    QT_TRANSLATE_NOOP("IoTable", "报警清除按钮灯"),
    QT_TRANSLATE_NOOP("IoTable", "复位按钮灯"),
    QT_TRANSLATE_NOOP("IoTable", "NG换盘按钮灯"),
    QT_TRANSLATE_NOOP("IoTable", "安全门锁"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 1
    QT_TRANSLATE_NOOP("IoTable", "上相机同轴光源"),
    QT_TRANSLATE_NOOP("IoTable", "上相机环形光源"),
    QT_TRANSLATE_NOOP("IoTable", "下相机环形光源"),
    QT_TRANSLATE_NOOP("IoTable", "供料器初始化"),
    QT_TRANSLATE_NOOP("IoTable", "供料器送料开始"),
    QT_TRANSLATE_NOOP("IoTable", "供料器真空阀"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 2
    QT_TRANSLATE_NOOP("IoTable", "吸笔真空"),
    QT_TRANSLATE_NOOP("IoTable", "吸笔反吹"),
    QT_TRANSLATE_NOOP("IoTable", "吸笔升降"),
    QT_TRANSLATE_NOOP("IoTable", "NG夹子张开"),
    QT_TRANSLATE_NOOP("IoTable", "NG夹子夹紧"),
    QT_TRANSLATE_NOOP("IoTable", "缓存阻挡上升"),
    QT_TRANSLATE_NOOP("IoTable", "缓存阻挡下降"),
    QT_TRANSLATE_NOOP("IoTable", "组装阻挡上升"),
    QT_TRANSLATE_NOOP("IoTable", "组装阻挡下降"),
    QT_TRANSLATE_NOOP("IoTable", "组装升降上升"),
    QT_TRANSLATE_NOOP("IoTable", "组装升降下降"),
    QT_TRANSLATE_NOOP("IoTable", "NG盘缩回"),
    QT_TRANSLATE_NOOP("IoTable", "NG盘伸出"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    // CAN node 3
    QT_TRANSLATE_NOOP("IoTable", "成品线进OT_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "成品线进OT_Recive"),
    QT_TRANSLATE_NOOP("IoTable", "成品线进OT_Compeled"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出OT_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出OT_Busy"),
    QT_TRANSLATE_NOOP("IoTable", "成品线出OT_Beg"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进OT_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进OT_Recive"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线进OT_Compeled"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出OT_Ready"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出OT_Busy"),
    QT_TRANSLATE_NOOP("IoTable", "空盘线出OT_Beg"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
    QT_TRANSLATE_NOOP("IoTable", "空"),
};

inline QString inputName(int i) {
    return QCoreApplication::translate("IoTable", i >= 0 && i < kCount ? kInputNames[i] : kSpare);
}
inline QString outputName(int i) {
    return QCoreApplication::translate("IoTable", i >= 0 && i < kCount ? kOutputNames[i] : kSpare);
}

} // namespace IoTable
