#include "catalog/runfiles.h"

#include <fstream>

#include "catalog/tables.h"
#include "store/error.h"
#include "store/workarea.h"
#include "core/context.h"

namespace catalog {

bool MAKELOCAL(core::Context& ctx, std::string_view name) {
    if (ctx.settings.LS_SPEECH)
        core::SPEEKIT(ctx, QStringLiteral("Die Sprachausgabe ist eingeschaltet!"));
    else if (ctx.settings.LS_SOUND)
        ctx.sound().play(QStringLiteral(".\\Sounds\\Tavolin.wav"));
    return MAKELOCAL(ctx.folder(), name) != MakeLocalResult::Failed;
}

bool buildIndexUnderMeter(core::Context& ctx, store::WorkArea& area, std::string_view keyExpression,
                          const std::filesystem::path& cdxPath, const QString& text, std::string_view forCondition) {
    bool built = false;
    core::MSGMETER(
        ctx,
        [&](core::Progress& progress) {
            progress.setTotal(static_cast<int>(area.recCount()));
            bool stop = false;
            built = BUILDINDEX(
                area, keyExpression, cdxPath,
                [&](std::uint32_t recno, std::uint32_t) {
                    progress.setPosition(static_cast<int>(recno));
                    stop = progress.cancelled();
                },
                stop, forCondition);
        },
        text);
    return built;
}

std::filesystem::path writeQuestionPicture(store::WorkArea& area, const std::filesystem::path& programDir) {
    const auto file = programDir / "BILD.BMP";
    std::error_code ec;
    std::filesystem::remove(file, ec);
    const store::Value picture = area.value("PICTURE");
    if (!picture.isText() || picture.asText().empty())
        return {};
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(picture.asText().data(), static_cast<std::streamsize>(picture.asText().size()));
    out.close();
    if (!out) {
        store::reportError(file.string(), "Bild kann nicht geschrieben werden");
        std::filesystem::remove(file, ec);
        return {};
    }
    return file;
}

void removeRunFiles(const std::filesystem::path& programDir) {
    std::error_code ec;
    for (const char* name : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX", "T_FRAGE.DBT"})
        std::filesystem::remove(programDir / name, ec);
}

} // namespace catalog
