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

} // namespace gallery
