#pragma once
// The rows of the alarm views: every row is handed to the alarm list every
// tick, active or not, in a fixed order.
class QTextBrowser;

struct CameraState {
    bool cam1 = false;
    bool cam2 = false;
};

// Also raises alarmFlags[40] while the CAN extension nodes are not healthy.
void showAlarmTable(QTextBrowser* history, QTextBrowser* current, const CameraState& cameras);
