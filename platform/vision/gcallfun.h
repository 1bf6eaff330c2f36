#pragma once
// Signal hub of the vision library. Emitted from any thread; receivers on the GUI
// thread get the calls queued.
#include <QObject>
#include <QStringList>

class gcallfun : public QObject {
    Q_OBJECT
public:
    static gcallfun* GetInstance();

signals:
    // A task has finished; texts are its result texts.
    void signalRepaintcvview(int task, QStringList texts);
    // The program asks the vision window to show this task.
    void signalSetCurrentTast(int task);

private:
    gcallfun();
};
