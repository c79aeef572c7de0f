#include <emscripten/emscripten.h>
#include <gtest/gtest.h>

#include "ConformanceDriver.h"

// The web driver's own reading of the page, checked where the suite's cases would pass just as
// well with a driver that answered yes to everything.
namespace avo::conformance {
namespace {

// A window of no program with one control drawn in the given font family.
EM_JS(void, avo_probe_face, (const char* family), {
    let probe = document.getElementById('avo-probe');
    if (!probe) {
        probe = document.createElement('div');
        probe.id = 'avo-probe';
        probe.className = 'window';
        probe.dataset.window = 'probe';
        probe.innerHTML = '<div data-name=Face>text</div>';
        document.body.appendChild(probe);
    }
    probe.firstChild.style.fontFamily = UTF8ToString(family);
});

EM_JS(void, avo_probe_remove, (), { document.getElementById('avo-probe').remove(); });

TEST(WebDriver, GlyphsAreLookedUpInTheFaceThePageEmbeds) {
    const auto driver = BackendUnderTest().Create();
    avo_probe_face("\"Avodevivu Liberation Sans\", sans-serif");
    EXPECT_EQ(driver->HasGlyphs("probe", "Face", "Şİıçö Line\r\n"), true);
    // A character that every fallback face draws but the subset leaves out.
    EXPECT_EQ(driver->HasGlyphs("probe", "Face", "Line\u20ac"), false);
    avo_probe_face("\"Avodevivu DejaVu Sans\", sans-serif");
    EXPECT_EQ(driver->HasGlyphs("probe", "Face", "ŞİıÇÖ"), true);
    avo_probe_face("\"A face the page lacks\", \"Avodevivu Liberation Sans\", sans-serif");
    EXPECT_EQ(driver->HasGlyphs("probe", "Face", "Line"), false);
    avo_probe_remove();
}

}  // namespace
}  // namespace avo::conformance
