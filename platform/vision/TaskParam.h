#pragma once
// Settings of one vision task, kept per recipe: its fixed identity (name, camera)
// and how the task answers: verdict, result values, first text, processing time.
#include <QJsonObject>
#include <QString>
#include <random>

struct TaskParam {
    enum Mode { ModeOK = 0, ModeNG = 1, ModeNever = 2, ModeRandom = 3 };
    static constexpr int kValueCount = 50;
    // The value positions the program reads from a record, in display order.
    static constexpr int kShownCount = 11;
    static const int kShownPositions[kShownCount];

    QString name;
    int camera = 0; // 0 upper camera, 1 lower camera
    int mode = ModeOK;
    double ngRate = 0.05; // share of NG answers in ModeRandom, 0..1
    int processMs = 60;
    double values[kValueCount] = {};
    // Text 1 of an OK answer; "{n}" becomes a running six-digit number. Empty: a summary.
    QString text;

    // Defaults of the 15 library tasks; other numbers get a generic upper-camera task.
    static TaskParam defaults(int task);
    static QString modeName(int mode);

    QJsonObject toJson() const;
    // Reads what fromJson finds and keeps the rest; false with a message on bad content.
    bool fromJson(const QJsonObject& obj, QString* error);
    // The text with its placeholder replaced.
    QString expandText(int counter) const;
};

// Verdict of one run in a verdict mode (TaskOK or TaskNG); *finishes is false for ModeNever.
int verdictFor(int mode, double ngRate, std::mt19937& rng, bool* finishes);
