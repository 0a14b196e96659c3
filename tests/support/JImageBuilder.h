#pragma once
// Writes small jimage files ("lib/modules") laid out as jlink does: header,
// redirect table, location offsets, location attribute streams, strings,
// then the resources, which are stored, zip-compressed, or marked with
// another decompressor's name.

#include <zlib.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/classlib/JImage.h"

namespace testing_classlib {

class JImageBuilder {
public:
    enum class Compression { None, Zip, Other };
    bool bigEndian = false;

    // A resource by module, parent ("java/lang"), base ("String") and extension ("class").
    void add(const std::string& module, const std::string& parent, const std::string& base, const std::string& ext,
        std::vector<uint8_t> content, Compression c = Compression::None)
    {
        const std::string path = (module.empty() ? "" : "/" + module + "/") + (parent.empty() ? "" : parent + "/") +
            base + (ext.empty() ? "" : "." + ext);
        resources_.push_back({{str(module), str(parent), str(base), str(ext)}, path, std::move(content), c});
    }

    // A class resource, and its package in "/packages/<pkg>".
    void addClass(const std::string& module, const std::string& internalName, std::vector<uint8_t> bytes,
        Compression c = Compression::None)
    {
        const std::string parent = internalName.substr(0, internalName.rfind('/'));
        add(module, parent, internalName.substr(parent.size() + 1), "class", std::move(bytes), c);
        std::string dotted = parent;
        std::replace(dotted.begin(), dotted.end(), '/', '.');
        packages_[dotted].insert(module);
    }

    std::vector<uint8_t> build()
    {
        // (isEmpty, module) pairs, an empty one first as for a module that only exports the package.
        for (const auto& [pkg, modules] : packages_) {
            std::vector<uint8_t> content;
            put4(content, 1), put4(content, str("java.instrument"));
            for (const auto& m : modules) put4(content, 0), put4(content, str(m));
            add("packages", "", pkg, "", content);
        }
        packages_.clear();
        std::vector<uint8_t> locations, data, out;
        std::vector<uint32_t> locationOffsets;
        for (const auto& r : resources_) {
            std::vector<uint8_t> stored = r.content;
            if (r.compression != Compression::None) {
                uLongf len = compressBound(uLong(r.content.size()));
                std::vector<uint8_t> packed(len);
                if (r.compression == Compression::Zip)
                    compress2(packed.data(), &len, r.content.data(), uLong(r.content.size()), 9), packed.resize(len);
                else
                    packed = r.content;
                stored.clear();
                put4(stored, 0xCAFEFAFAu), put8(stored, packed.size()), put8(stored, r.content.size());
                put4(stored, str(r.compression == Compression::Zip ? "zip" : "compact-cp")), put4(stored, 0);
                stored.push_back(1);
                stored.insert(stored.end(), packed.begin(), packed.end());
            }
            locationOffsets.push_back(uint32_t(locations.size()));
            const uint64_t values[] = {r.names[0], r.names[1], r.names[2], r.names[3], data.size(),
                r.compression == Compression::None ? 0 : stored.size(), r.content.size()};
            for (unsigned kind = 1; kind <= 7; ++kind) attribute(locations, kind, values[kind - 1]);
            locations.push_back(0);
            data.insert(data.end(), stored.begin(), stored.end());
        }
        // The hash table: as long as it takes for no two names to share a
        // bucket (hash % n), so each redirect points straight at its slot.
        const uint32_t count = uint32_t(resources_.size());
        std::vector<int32_t> redirect;
        std::vector<uint32_t> offsets;
        for (uint32_t n = count, clash = 1; clash; ++n) {
            redirect.assign(n, 0), offsets.assign(n, 0), clash = 0;
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t b = platform::classlib::JImage::hashCode(resources_[i].path) % n;
                clash += redirect[b] != 0;
                redirect[b] = -1 - int32_t(b), offsets[b] = locationOffsets[i];
            }
        }
        const uint32_t n = uint32_t(redirect.size());
        for (const uint32_t v :
            {0xCAFEDADAu, 1u << 16, 0u, count, n, uint32_t(locations.size()), uint32_t(strings_.size())})
            put4(out, v);
        for (const int32_t r : redirect) put4(out, uint32_t(r));
        for (const uint32_t o : offsets) put4(out, o);
        for (const auto* part : {&locations, &strings_, &data}) out.insert(out.end(), part->begin(), part->end());
        return out;
    }

private:
    struct Resource {
        uint32_t names[4];
        std::string path;
        std::vector<uint8_t> content;
        Compression compression;
    };

    uint32_t str(const std::string& s)
    {
        auto [it, added] = stringOffsets_.emplace(s, uint32_t(strings_.size()));
        if (added)
            strings_.insert(strings_.end(), s.c_str(), s.c_str() + s.size() + 1);
        return it->second;
    }

    void put4(std::vector<uint8_t>& b, uint32_t v) const
    {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * (bigEndian ? 3 - i : i))));
    }
    void put8(std::vector<uint8_t>& b, uint64_t v) const
    {
        put4(b, uint32_t(bigEndian ? v >> 32 : v));
        put4(b, uint32_t(bigEndian ? v : v >> 32));
    }
    // A location attribute: kind and length, then the value most significant byte first.
    static void attribute(std::vector<uint8_t>& b, unsigned kind, uint64_t value)
    {
        if (value == 0)
            return;
        unsigned len = 1;
        while (len < 8 && (value >> (8 * len)) != 0) ++len;
        b.push_back(uint8_t(kind << 3 | (len - 1)));
        for (int i = int(len) - 1; i >= 0; --i) b.push_back(uint8_t(value >> (8 * i)));
    }

    std::vector<Resource> resources_;
    std::map<std::string, std::set<std::string>> packages_;
    std::vector<uint8_t> strings_ {0};  // offset 0 is ""
    std::map<std::string, uint32_t> stringOffsets_ {{"", 0}};
};

}  // namespace testing_classlib
