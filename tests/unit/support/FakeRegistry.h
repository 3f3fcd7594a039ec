#pragma once
// An in-memory registry with the semantics the programs rely on: case-insensitive names, typed values of any
// size, queries into a buffer of a given size (MoreData when the value is larger), keys created with every
// missing key on the way, keys deleted only when they have no subkeys, keys that refuse access, keys whose values
// can be read but not changed, and keys opened with only the rights to read or to change values. It counts the
// keys left open and notes the name of every value queried.
#include "common/RegistryKey.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qn::fake {

struct Value {
    std::uint32_t type = regtype::kNone;
    std::vector<std::uint8_t> data;
};

struct Node {
    std::string name;
    std::map<std::string, std::shared_ptr<Node>> children; // by lower-case name
    std::map<std::string, Value> values;                   // by lower-case name
    std::shared_ptr<Node> link; // a symbolic link: opening it reaches this key instead, unless the link is asked for
    bool denied = false;        // opening, creating below, writing and deleting fail, as without access rights
    bool readOnly = false;      // opening it with any rights beyond reading values fails
    bool deleted = false;       // an open key whose key was deleted refuses everything
    std::string refusedValue;   // the lower-case name of a value whose writes fail, as a guarded value's do
};

inline std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

inline std::vector<std::string> PathParts(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('\\', start);
        parts.emplace_back(path.substr(start, end == std::string_view::npos ? path.npos : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// What the keys of one registry note as they are used.
struct Journal {
    int openKeys = 0;
    std::vector<std::string> queries; // the names of the values queried, in order
};

class Key final : public RegistryKey {
public:
    // `rights`: nothing for all rights, or only reading or changing values.
    Key(std::shared_ptr<Node> node, Journal& journal, std::optional<ValueAccess> rights = std::nullopt)
        : m_node(std::move(node)), m_journal(journal), m_rights(rights) {
        ++m_journal.openKeys;
    }
    ~Key() override { --m_journal.openKeys; }

    std::unique_ptr<RegistryKey> CreateSubkey(std::string_view path) override { return Walk(path, true); }
    std::unique_ptr<RegistryKey> OpenSubkey(std::string_view path) override { return Walk(path, false); }
    std::unique_ptr<RegistryKey> OpenSubkeyOrLink(std::string_view path) override { return Walk(path, false, true); }
    KeyOpening OpenSubkeyFor(std::string_view path, ValueAccess access) override {
        bool reached = m_node->deleted;
        KeyOpening opening;
        opening.key = Walk(path, false, false, access, &reached);
        opening.status = opening.key ? KeyOpening::Status::Opened
                         : reached   ? KeyOpening::Status::Failed
                                     : KeyOpening::Status::Missing;
        return opening;
    }
    std::unique_ptr<RegistryKey> CreateSubkeyFor(std::string_view path, ValueAccess access) override {
        return Walk(path, true, false, access);
    }

    ValueQuery QueryValue(std::string_view name, std::size_t capacity) override {
        m_journal.queries.emplace_back(name);
        ValueQuery query;
        if (m_node->deleted || m_rights == ValueAccess::Set) {
            return query;
        }
        const auto found = m_node->values.find(Lower(name));
        if (found == m_node->values.end()) {
            query.status = ValueQuery::Status::Missing;
            return query;
        }
        query.type = found->second.type;
        query.size = found->second.data.size();
        if (capacity != 0 && query.size > capacity) {
            query.status = ValueQuery::Status::MoreData;
            return query;
        }
        query.status = ValueQuery::Status::Success;
        if (capacity != 0) {
            query.data = found->second.data;
        }
        return query;
    }

    bool SetValue(std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
        if (!MayChange() || Lower(name) == m_node->refusedValue) {
            return false;
        }
        m_node->values[Lower(name)] = Value{type, std::vector<std::uint8_t>(data.begin(), data.end())};
        return true;
    }

    bool DeleteValue(std::string_view name) override { return MayChange() && m_node->values.erase(Lower(name)) == 1; }

    std::optional<std::vector<std::string>> SubkeyNames() override {
        if (m_node->deleted) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const auto& [lower, child] : m_node->children) {
            names.push_back(child->name);
        }
        return names;
    }

    bool DeleteSubkey(std::string_view path) override {
        const std::vector<std::string> parts = PathParts(path);
        std::shared_ptr<Node> parent = m_node;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            parent = Followed(Child(parent, parts[i]));
            if (!parent) {
                return false;
            }
        }
        const std::shared_ptr<Node> target = Child(parent, parts.back());
        if (m_node->deleted || !target || target->denied || !target->children.empty()) {
            return false;
        }
        target->deleted = true;
        parent->children.erase(Lower(parts.back()));
        return true;
    }

private:
    bool MayChange() const {
        return !m_node->deleted && !m_node->denied && !m_node->readOnly && m_rights != ValueAccess::Query;
    }

    static std::shared_ptr<Node> Child(const std::shared_ptr<Node>& node, const std::string& name) {
        const auto found = node->children.find(Lower(name));
        return found == node->children.end() ? nullptr : found->second;
    }

    static std::shared_ptr<Node> Followed(std::shared_ptr<Node> node) { return node && node->link ? node->link : node; }

    // `reached`, when given, is set where a key stands at `path`, whether or not it can be opened.
    std::unique_ptr<RegistryKey> Walk(std::string_view path, bool create, bool openLink = false,
                                      std::optional<ValueAccess> rights = std::nullopt, bool* reached = nullptr) {
        std::shared_ptr<Node> node = m_node;
        if (node->deleted) {
            return nullptr;
        }
        const std::vector<std::string> parts = PathParts(path);
        for (const std::string& part : parts) {
            if (part.empty() || node->denied) {
                return nullptr;
            }
            std::shared_ptr<Node> child = Child(node, part);
            if (!(openLink && &part == &parts.back())) {
                child = Followed(child);
            }
            if (!child) {
                if (!create) {
                    return nullptr;
                }
                child = std::make_shared<Node>();
                child->name = part;
                node->children[Lower(part)] = child;
            }
            node = child;
        }
        if (reached) {
            *reached = true;
        }
        if (node->denied || (node->readOnly && rights != ValueAccess::Query)) {
            return nullptr;
        }
        return std::make_unique<Key>(node, m_journal, rights);
    }

    std::shared_ptr<Node> m_node;
    Journal& m_journal;
    std::optional<ValueAccess> m_rights;
};

// The whole registry: its root stands for HKEY_CURRENT_USER.
class Registry {
public:
    Registry() : m_rootNode(std::make_shared<Node>()), m_root(m_rootNode, m_journal) {}

    RegistryKey& Root() { return m_root; }
    // Keys opened through the root and not yet closed (the root itself not counted).
    int OpenKeys() const { return m_journal.openKeys - 1; }
    // Whether a value of this name (in any letter case) was queried since the last ForgetQueries.
    bool WasQueried(std::string_view name) const {
        return std::any_of(m_journal.queries.begin(), m_journal.queries.end(),
                           [&](const std::string& queried) { return Lower(queried) == Lower(name); });
    }
    void ForgetQueries() { m_journal.queries.clear(); }

    // The node at `path` below the root, or null.
    std::shared_ptr<Node> Find(std::string_view path) const {
        std::shared_ptr<Node> node = m_rootNode;
        for (const std::string& part : PathParts(path)) {
            const auto found = node->children.find(Lower(part));
            if (found == node->children.end()) {
                return nullptr;
            }
            node = found->second;
        }
        return node;
    }
    bool Exists(std::string_view path) const { return Find(path) != nullptr; }
    // Makes the node at `path`, with every missing one on the way.
    std::shared_ptr<Node> Make(std::string_view path) {
        std::shared_ptr<Node> node = m_rootNode;
        for (const std::string& part : PathParts(path)) {
            std::shared_ptr<Node>& child = node->children[Lower(part)];
            if (!child) {
                child = std::make_shared<Node>();
                child->name = part;
            }
            node = child;
        }
        return node;
    }
    void Put(std::string_view path, std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
        Make(path)->values[Lower(name)] = Value{type, std::move(data)};
    }
    std::optional<Value> Get(std::string_view path, std::string_view name) const {
        const auto node = Find(path);
        if (!node) {
            return std::nullopt;
        }
        const auto found = node->values.find(Lower(name));
        return found == node->values.end() ? std::nullopt : std::optional<Value>(found->second);
    }

private:
    Journal m_journal;
    std::shared_ptr<Node> m_rootNode;
    Key m_root;
};

} // namespace qn::fake
