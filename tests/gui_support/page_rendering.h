#pragma once

namespace tarnwick::test {

/// Whether the web views here lay out and run the pages they are given. The system's browser
/// control under Wine has no HTML engine (Wine's is not packaged here): it shows a blank page, so
/// a test that needs a rendered page skips itself there with kNoPageRendering.
bool WebPagesRender();

inline constexpr char kNoPageRendering[] =
    "the browser control has no HTML engine under Wine here; page rendering is checked by hand on Windows";

}  // namespace tarnwick::test
