// libFuzzer target of the recovery-file reader and of the scene it holds: every input is either
// refused with a reason or gives a scene that the scenario reader accepts or refuses in one line,
// never a crash or a sanitizer report.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scenario/scenario.h"
#include "session/recovery_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto content = prrsim::session::readRecoveryText(text, error);
    if (!content) {
        if (error.empty()) {
            std::fprintf(stderr, "recovery_fuzz: refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    if (content->scene.empty()) {
        std::fprintf(stderr, "recovery_fuzz: accepted without a scene\n");
        std::abort();
    }
    std::string sceneError;
    if (!prrsim::batch::parseScenario(content->scene, "recovery.json", sceneError) &&
        sceneError.find('\n') != std::string::npos) {
        std::fprintf(stderr, "recovery_fuzz: malformed error line\n");
        std::abort();
    }
    return 0;
}
