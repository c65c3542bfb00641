#pragma once

#include <QString>

#include <filesystem>
#include <string_view>

namespace store {
class WorkArea;
}
namespace core {
class Context;
}

namespace catalog {

// MAKELOCAL as the program calls it: the greeting first (speech when it is on, else the sound), on every call,
// then the learner's table created from the catalog when it is missing. False when it could not be created.
bool MAKELOCAL(core::Context& ctx, std::string_view name);

// BUILDINDEX as the action of the progress dialog: builds the tag with the dialog showing `text`, the bar
// following the records; false when the build failed or was stopped.
bool buildIndexUnderMeter(core::Context& ctx, store::WorkArea& area, std::string_view keyExpression,
                          const std::filesystem::path& cdxPath, const QString& text,
                          std::string_view forCondition = {});

// The picture of the question at hand for the picture control: the old BILD.BMP is deleted, the PICTURE memo of
// the area's current record written out byte for byte. Returns the file, or an empty path when the record has no
// picture (or it could not be written).
std::filesystem::path writeQuestionPicture(store::WorkArea& area, const std::filesystem::path& programDir);

// Deletes the files a training run or an exam leaves behind: BILD.BMP, LOCAL.CDX and the working set T_FRAGE
// (.DBF, .FPT, .CDX, and the .DBT a training run may leave). Missing files are no error.
void removeRunFiles(const std::filesystem::path& programDir);

} // namespace catalog
