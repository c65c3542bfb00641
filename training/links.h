#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace core {
class Context;
}

namespace training {

// What the training starts in other modules: the statistics of a class and of one theme, and the exam. An empty
// entry leaves its button disabled (its tooltip says why) and the verdict without its offer of the statistics.
struct Links {
    // STATIST(class, 0, false): the statistics overview of the class.
    std::function<void(core::Context& ctx, QWidget* owner, const QString& classCode)> statClass;
    // STATTHEMA(class, theme, caption): the statistic of one theme, offered after a run.
    std::function<void(core::Context& ctx, QWidget* owner, const QString& classCode, int theme,
                       const QString& caption)>
        statTheme;
    // PRUEFUNG(owner, class): the exam simulation.
    std::function<void(core::Context& ctx, QWidget* owner, const QString& classCode)> exam;
};

} // namespace training
