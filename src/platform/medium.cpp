// What every medium shares: name lookup without regard to case and the copy in blocks.
#include "platform/medium.h"

#include <vector>

#include "platform/error.h"
#include "platform/text_case.h"

namespace platform {

namespace {

constexpr size_t copyBlock = size_t{1} << 20;

std::vector<std::string> namesOf(const std::string& path) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            names.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '\\' + name;
}

std::string parentOf(const std::string& path) {
    size_t cut = path.rfind('\\');
    return cut == std::string::npos ? "" : path.substr(0, cut);
}

std::string nameOf(const std::string& path) {
    size_t cut = path.rfind('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Medium::resolve(const std::string& path) {
    // The common case costs one look-up: the path exists as written.
    if (path.empty() || entry(path))
        return path;
    std::string out;
    bool matching = true;  // below a name that matched nothing, nothing can match
    for (const std::string& name : namesOf(path)) {
        std::string spelled = name;
        if (matching && !entry(joinPath(out, name))) {
            std::optional<std::string> best;
            try {
                for (const std::string& n : names(out))
                    if (sameIgnoringCase(n, name) && (!best || n < *best))
                        best = n;
            } catch (const Error&) {
            }
            if (best)
                spelled = *best;
            else
                matching = false;
        }
        out = joinPath(out, spelled);
    }
    return out;
}

std::vector<std::string> Medium::names(const std::string& folder) {
    std::vector<std::string> out;
    for (MediumEntry& e : list(folder))
        out.push_back(std::move(e.name));
    return out;
}

void copyInBlocks(Medium& source, const std::string& from, Medium& target, const std::string& to) {
    std::unique_ptr<MediumFile> in = source.open(from, OpenMode::read, false);
    std::vector<char> buffer(copyBlock);
    // A source that cannot be read at all leaves the target as it was.
    size_t n = in->read(buffer.data(), buffer.size());
    std::unique_ptr<MediumFile> out = target.open(to, OpenMode::write, true);
    while (n > 0) {
        out->write(buffer.data(), n);
        n = in->read(buffer.data(), buffer.size());
    }
    out->close();
    in->close();
}

void Medium::copyFileFrom(Medium& source, const std::string& from, const std::string& to) {
    copyInBlocks(source, from, *this, to);
}

}  // namespace platform
