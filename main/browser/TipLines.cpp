#include "main/browser/TipLines.h"

#include <cmath>

namespace browser {

std::vector<std::string> TipLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            continue;
        }
        line += bytes[i];
        open = true;
    }
    if (open) lines.push_back(line);
    return lines;
}

int TipPick(float r, std::size_t n) {
    return static_cast<int>(std::floor(static_cast<double>(r) * static_cast<double>(n) + 1.0));
}

}  // namespace browser
