#pragma once
// Writes small jimage files ("lib/modules") for the tests and the fuzz
// corpus, the way jlink lays them out: header, perfect-hash redirect table,
// location offsets, location attribute streams, strings, then the resources.
// Resources can be stored, zip-compressed, or marked with another
// decompressor name.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/classlib/JImage.h"

namespace testing_classlib {

class JImageBuilder {
public:
    enum class Compression { None, Zip, Other };

    bool bigEndian = false;

    // A resource by module, parent ("java/lang"), base ("String") and extension ("class").
    void add(const std::string& module, const std::string& parent, const std::string& base,
             const std::string& extension, std::vector<uint8_t> content, Compression c = Compression::None)
    {
        resources_.push_back({module, parent, base, extension, std::move(content), c});
    }

    // A class resource, and its package's "/packages/<pkg>" entry.
    void addClass(const std::string& module, const std::string& internalName, std::vector<uint8_t> bytes,
                  Compression c = Compression::None)
    {
        const size_t slash = internalName.rfind('/');
        const std::string parent = internalName.substr(0, slash);
        add(module, parent, internalName.substr(slash + 1), "class", std::move(bytes), c);
        std::string dotted = parent;
        std::replace(dotted.begin(), dotted.end(), '/', '.');
        packages_[dotted].push_back(module);
    }

    std::vector<uint8_t> build()
    {
        // Package entries: (isEmpty, module name offset) pairs; an empty
        // entry first, as jlink lists modules that only export the package.
        for (auto& [pkg, modules] : packages_) {
            std::sort(modules.begin(), modules.end());
            modules.erase(std::unique(modules.begin(), modules.end()), modules.end());
            std::vector<uint8_t> content;
            put4(content, 1);
            put4(content, str("java.instrument"));
            for (const auto& m : modules) {
                put4(content, 0);
                put4(content, str(m));
            }
            add("packages", "", pkg, "", content);
        }
        packages_.clear();

        std::vector<uint8_t> locations;
        std::vector<uint32_t> locationOffsets;
        std::vector<uint8_t> data;
        for (auto& r : resources_) {
            std::vector<uint8_t> stored = r.content;
            uint64_t compressed = 0;
            if (r.compression != Compression::None) {
                std::vector<uint8_t> packed;
                if (r.compression == Compression::Zip) {
                    uLongf len = compressBound(uLong(r.content.size()));
                    packed.resize(len);
                    compress2(packed.data(), &len, r.content.data(), uLong(r.content.size()), 9);
                    packed.resize(len);
                } else {
                    packed = r.content;
                }
                std::vector<uint8_t> header;
                put4(header, 0xCAFEFAFAu);
                put8(header, packed.size());
                put8(header, r.content.size());
                put4(header, str(r.compression == Compression::Zip ? "zip" : "compact-cp"));
                put4(header, str(""));
                header.push_back(1);
                stored = header;
                stored.insert(stored.end(), packed.begin(), packed.end());
                compressed = stored.size();
            }
            locationOffsets.push_back(uint32_t(locations.size()));
            attribute(locations, 1, str(r.module));
            attribute(locations, 2, str(r.parent));
            attribute(locations, 3, str(r.base));
            attribute(locations, 4, str(r.extension));
            attribute(locations, 5, data.size());
            attribute(locations, 6, compressed);
            attribute(locations, 7, r.content.size());
            locations.push_back(0);  // end
            data.insert(data.end(), stored.begin(), stored.end());
        }

        // Perfect hash (as jdk.tools.jlink's PerfectHashBuilder); a table
        // longer than the resource count when no seed separates a bucket.
        const uint32_t count = uint32_t(resources_.size());
        uint32_t n = count;
        std::vector<int32_t> redirect;
        std::vector<int64_t> slotOf;
        while (!placeAll(n, redirect, slotOf))
            ++n;
        std::vector<uint32_t> offsets(n, 0);
        for (uint32_t i = 0; i < count; ++i)
            offsets[size_t(slotOf[i])] = locationOffsets[i];

        std::vector<uint8_t> out;
        put4(out, 0xCAFEDADAu);
        put4(out, 1u << 16);
        put4(out, 0);
        put4(out, count);
        put4(out, n);
        put4(out, uint32_t(locations.size()));
        put4(out, uint32_t(strings_.size()));
        for (const int32_t r : redirect)
            put4(out, uint32_t(r));
        for (const uint32_t o : offsets)
            put4(out, o);
        out.insert(out.end(), locations.begin(), locations.end());
        out.insert(out.end(), strings_.begin(), strings_.end());
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }

private:
    bool placeAll(uint32_t n, std::vector<int32_t>& redirect, std::vector<int64_t>& slotOf) const
    {
        const uint32_t count = uint32_t(resources_.size());
        redirect.assign(n, 0);
        slotOf.assign(count, -1);
        std::vector<std::vector<uint32_t>> buckets(n);
        for (uint32_t i = 0; i < count; ++i)
            buckets[platform::classlib::JImage::hashCode(path(resources_[i])) % n].push_back(i);
        std::vector<uint32_t> order(n);
        for (uint32_t i = 0; i < n; ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](uint32_t a, uint32_t b) { return buckets[a].size() > buckets[b].size(); });
        std::vector<bool> used(n, false);
        for (const uint32_t b : order) {
            const auto& bucket = buckets[b];
            if (bucket.size() > 1) {
                bool placed = false;
                for (uint32_t seed = 1; seed < 2000 && !placed; ++seed) {
                    std::vector<uint32_t> chosen;
                    bool ok = true;
                    for (const uint32_t r : bucket) {
                        const uint32_t s = platform::classlib::JImage::hashCode(path(resources_[r]), seed) % n;
                        if (used[s] || std::find(chosen.begin(), chosen.end(), s) != chosen.end()) {
                            ok = false;
                            break;
                        }
                        chosen.push_back(s);
                    }
                    if (!ok)
                        continue;
                    for (size_t k = 0; k < bucket.size(); ++k) {
                        used[chosen[k]] = true;
                        slotOf[bucket[k]] = chosen[k];
                    }
                    redirect[b] = int32_t(seed);
                    placed = true;
                }
                if (!placed)
                    return false;
            } else if (bucket.size() == 1) {
                uint32_t s = 0;
                while (used[s])
                    ++s;
                used[s] = true;
                slotOf[bucket[0]] = s;
                redirect[b] = -1 - int32_t(s);
            }
        }
        return true;
    }

    struct Resource {
        std::string module, parent, base, extension;
        std::vector<uint8_t> content;
        Compression compression;
    };

    static std::string path(const Resource& r)
    {
        std::string p;
        if (!r.module.empty())
            p += "/" + r.module + "/";
        if (!r.parent.empty())
            p += r.parent + "/";
        p += r.base;
        if (!r.extension.empty())
            p += "." + r.extension;
        return p;
    }

    uint32_t str(const std::string& s)
    {
        if (strings_.empty())
            strings_.push_back(0);  // offset 0 is ""
        if (s.empty())
            return 0;
        const auto it = stringOffsets_.find(s);
        if (it != stringOffsets_.end())
            return it->second;
        const uint32_t offset = uint32_t(strings_.size());
        strings_.insert(strings_.end(), s.begin(), s.end());
        strings_.push_back(0);
        return stringOffsets_[s] = offset;
    }

    void put4(std::vector<uint8_t>& b, uint32_t v) const
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(v >> (8 * (bigEndian ? 3 - i : i))));
    }
    void put8(std::vector<uint8_t>& b, uint64_t v) const
    {
        if (bigEndian) {
            put4(b, uint32_t(v >> 32));
            put4(b, uint32_t(v));
        } else {
            put4(b, uint32_t(v));
            put4(b, uint32_t(v >> 32));
        }
    }
    // Values most significant byte first, in as few bytes as they need.
    static void attribute(std::vector<uint8_t>& b, unsigned kind, uint64_t value)
    {
        if (value == 0)
            return;
        unsigned len = 1;
        while (len < 8 && (value >> (8 * len)) != 0)
            ++len;
        b.push_back(uint8_t(kind << 3 | (len - 1)));
        for (int i = int(len) - 1; i >= 0; --i)
            b.push_back(uint8_t(value >> (8 * i)));
    }

    std::vector<Resource> resources_;
    std::map<std::string, std::vector<std::string>> packages_;
    std::vector<uint8_t> strings_;
    std::map<std::string, uint32_t> stringOffsets_;
};

}  // namespace testing_classlib
