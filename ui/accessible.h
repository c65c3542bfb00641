#pragma once

class QString;
class QWidget;

namespace ui {

// Gives every control of the window that has no accessible name the caption a sighted user reads for it: the
// label on its left in the same line, else the label right above it; a button without text takes its tooltip.
// Runs when the window is first shown, so that controls placed by layouts have their places. A label made the
// control's buddy wins; names set by the dialog itself are kept.
void nameControlsFromCaptions(QWidget* window);

// The caption of a label as a name: without accelerator marks and a trailing colon.
QString captionName(const QString& labelText);

} // namespace ui
