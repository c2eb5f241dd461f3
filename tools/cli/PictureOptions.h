// PictureOptions: --hud and --shading, how a picture is drawn, declared once for every command
// that draws one (deform's --render, the view window, recipe files).
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace hx {

// Adds --hud on|off and --shading auto|smooth|wire|both to `command`, storing the text as
// typed into `hud` and `shading` (which must outlive the parse). checkHud and checkShading
// read them.
void addPictureOptions(CLI::App& command, std::optional<std::string>& hud, std::optional<std::string>& shading);

// "on" or "off"; throws UsageError: "--hud 'of' is not on or off; did you mean off?".
bool checkHud(const std::string& text);
// "auto", "smooth", "wire" or "both", returned as it is; throws UsageError likewise.
std::string checkShading(const std::string& text);

} // namespace hx
