#include "spice/frame_kernel.h"

#include "spice/naif_ids.h"
#include "spice/text_kernel.h"

namespace kova {

namespace {
constexpr std::string_view kCkBasedFrameClass = "3";
}  // namespace

std::string frameKernelText(std::int32_t spacecraftId, std::string_view bodyName, std::string_view frameName,
                            std::string_view comments) {
    using namespace text_kernel;
    const std::string body = std::to_string(spacecraftId);
    const std::string frame = std::to_string(ckIdFromSpacecraftId(spacecraftId));
    const std::string frameText = quoted(frameName);
    std::string text;
    appendHeader(text, "KPL/FK", comments);
    appendAppendingAssignment(text, "NAIF_BODY_NAME", "( " + quoted(bodyName) + " )");
    appendAppendingAssignment(text, "NAIF_BODY_CODE", "( " + body + " )");
    appendAssignment(text, "FRAME_" + std::string(frameName), frame);
    appendAssignment(text, "FRAME_" + frame + "_NAME", frameText);
    appendAssignment(text, "FRAME_" + frame + "_CLASS", kCkBasedFrameClass);
    appendAssignment(text, "FRAME_" + frame + "_CLASS_ID", frame);
    appendAssignment(text, "FRAME_" + frame + "_CENTER", body);
    appendAssignment(text, "CK_" + frame + "_SCLK", body);
    appendAssignment(text, "CK_" + frame + "_SPK", body);
    appendAssignment(text, "OBJECT_" + body + "_FRAME", frameText);
    appendTrailer(text);
    return text;
}

}  // namespace kova
