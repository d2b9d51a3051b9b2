#pragma once

#include <QString>
#include <QStringList>

namespace tallisk {

// The five numbered paragraphs of the help window, in order.
QStringList helpParagraphs();

// The help text as one string: every paragraph followed by its run of spaces, 1008 characters.
QString helpText();

// The same 1008 characters with the last space of every run turned into a line break, so that
// each numbered paragraph starts on a new line whatever the label's font and width.
QString helpTextForDisplay();

}  // namespace tallisk
