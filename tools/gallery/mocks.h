#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace gallery {

using SaveFn = std::function<void(QWidget& window, const QString& name)>;

// Each skinned dialog with sample contents placed as its Part places them.
void renderMocks(const SaveFn& save);

// The training's real dialogs with realistic questions.
void renderTraining(const SaveFn& save);

// The progress dialog and the review of a past exam after three exams (progressgallery.cpp).
void renderProgress(const SaveFn& save);

} // namespace gallery
