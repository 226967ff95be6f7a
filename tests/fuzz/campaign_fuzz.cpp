// libFuzzer target of the campaign reader: every input ends in a one-line error naming the file
// or in a campaign whose every run's scenario is checked, never in a crash or a sanitizer report.
// A base scenario named as a file is looked up in an empty folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "campaign/campaign.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / "prrsim-campaign-fuzz-empty";
    std::string error;
    const auto campaign = prrsim::batch::parseCampaign(text, "fuzz.json", empty, error);
    if (!campaign && (error.empty() || error.find('\n') != std::string::npos ||
                      error.rfind("fuzz.json", 0) != 0)) {
        std::fprintf(stderr, "campaign_fuzz: malformed error line: \"%s\"\n", error.c_str());
        std::abort();
    }
    return 0;
}
