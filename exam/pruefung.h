#pragma once

#include <QString>

#include "training/questiondialog.h"

class QWidget;

namespace core {
class Context;
}

namespace exam {

// The exam's look of the question dialog: its header names the class, it is one pixel smaller each way, its
// tooltips speak of the exam, Alt+H opens the exam's help while the help button opens the training's, and the
// error points follow every wrong answer.
training::QuestionLook examLook(const QString& classCode);

// PRUEFUNG: one exam simulation of a class, from the composition to the verdict; every file it made is gone when
// it returns.
void PRUEFUNG(core::Context& ctx, QWidget* owner, const QString& classCode);
// The same, telling `observer` of every answer and of the verdict.
class ExamObserver;
void PRUEFUNG(core::Context& ctx, QWidget* owner, const QString& classCode, ExamObserver* observer);

} // namespace exam
