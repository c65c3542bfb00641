#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace gallery {

using SaveFn = std::function<void(QWidget& window, const QString& name)>;

// The training's real dialogs with realistic questions.
void renderTraining(const SaveFn& save);

// The exam's question dialog in two layouts.
void renderExam(const SaveFn& save);
// The progress dialog and the review of a past exam after three exams (progressgallery.cpp).
void renderProgress(const SaveFn& save);

} // namespace gallery
