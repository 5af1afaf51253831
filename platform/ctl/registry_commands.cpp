// reg dump | get | set | delete
#include <cstdio>
#include <map>

#include "commands.h"
#include "kernel/error_text.h"
#include "strings/utf.h"
#include "winerror.h"
#include "winreg.h"

namespace handheld::ctl {

namespace {

struct KeyName {
  uint32_t root = 0;
  std::u16string path;
};

std::optional<KeyName> parseKey(const std::string& text) {
  static const std::map<std::string, uint32_t> roots = {
      {"HKLM", 0x80000002u}, {"HKEY_LOCAL_MACHINE", 0x80000002u},
      {"HKCU", 0x80000001u}, {"HKEY_CURRENT_USER", 0x80000001u},
      {"HKCR", 0x80000000u}, {"HKEY_CLASSES_ROOT", 0x80000000u},
      {"HKU", 0x80000003u},  {"HKEY_USERS", 0x80000003u}};
  size_t slash = text.find('\\');
  std::string rootName = text.substr(0, slash);
  for (auto& ch : rootName) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  auto root = roots.find(rootName);
  if (root == roots.end()) return std::nullopt;
  auto path = strings::fromUtf8Strict(slash == std::string::npos ? "" : text.substr(slash + 1));
  if (!path) return std::nullopt;
  return KeyName{root->second, *path};
}

// The registry's refusals in its own words, the rest as the platform says them.
std::string describe(uint32_t error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return kernel::describeError(error, "not found");
    case ERROR_INVALID_PARAMETER: return kernel::describeError(error, "invalid name or data");
    case ERROR_ACCESS_DENIED: return kernel::describeError(error, "not allowed");
    default: return kernel::describeError(error);
  }
}

std::u16string dataAsString(const ipc::Bytes& data) {
  std::u16string text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    text += c;
  }
  return text;
}

int dump(Context& c, const Args& args) {
  if (args.size() > 1) return fail("usage: reg dump [KEY]", 2);
  std::vector<KeyName> keys;
  if (args.empty()) {
    keys = {{0x80000001u, u""}, {0x80000002u, u""}};
  } else if (auto key = parseKey(args[0])) {
    keys = {*key};
  } else {
    return fail("not a registry key: " + args[0], 2);
  }
  for (auto& key : keys) {
    auto reply = c.device().call<ipc::RegistryExport>({key.root, key.path});
    if (!reply) return fail("the device did not answer");
    if (reply->error)
      return fail((args.empty() ? "cannot read the registry" : args[0]) + ": " + describe(reply->error));
    std::fputs(reply->text.c_str(), stdout);
  }
  return 0;
}

int get(Context& c, const Args& args) {
  if (args.size() != 2) return fail("usage: reg get KEY VALUE", 2);
  auto key = parseKey(args[0]);
  auto name = strings::fromUtf8Strict(args[1]);
  if (!key || !name) return fail("not a registry key: " + args[0], 2);
  auto reply = c.device().call<ipc::RegistryQuery>({key->root, key->path, *name});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return fail(args[0] + "\\" + args[1] + ": " + describe(reply->error));
  switch (reply->type) {
    case REG_DWORD:
      if (reply->data.size() == 4) {
        uint32_t v = reply->data[0] | (reply->data[1] << 8) | (reply->data[2] << 16) |
                     (static_cast<uint32_t>(reply->data[3]) << 24);
        std::printf("%u\n", v);
        return 0;
      }
      break;
    case REG_SZ:
    case REG_EXPAND_SZ: {
      auto text = dataAsString(reply->data);
      if (auto nul = text.find(u'\0'); nul != std::u16string::npos) text.resize(nul);
      std::printf("%s\n", strings::toUtf8(text).c_str());
      return 0;
    }
    case REG_MULTI_SZ: {
      auto text = dataAsString(reply->data);
      size_t start = 0;
      while (start < text.size() && text[start] != 0) {
        size_t end = text.find(u'\0', start);
        if (end == std::u16string::npos) end = text.size();
        std::printf("%s\n", strings::toUtf8(text.substr(start, end - start)).c_str());
        start = end + 1;
      }
      return 0;
    }
    default:
      break;
  }
  for (size_t i = 0; i < reply->data.size(); ++i) std::printf("%s%02x", i ? "," : "", reply->data[i]);
  std::printf("\n");
  return 0;
}

int set(Context& c, const Args& args) {
  if (args.size() != 4) return fail("usage: reg set KEY VALUE dword|sz DATA", 2);
  auto key = parseKey(args[0]);
  auto name = strings::fromUtf8Strict(args[1]);
  if (!key || !name) return fail("not a registry key: " + args[0], 2);
  ipc::RegistrySet::Request request{key->root, key->path, *name, 0, {}};
  if (args[2] == "dword") {
    auto value = parseNumber(args[3]);
    if (!value || *value > UINT32_MAX) return fail("not a DWORD: " + args[3], 2);
    request.type = REG_DWORD;
    for (int i = 0; i < 4; ++i) request.data.push_back(static_cast<uint8_t>(*value >> (8 * i)));
  } else if (args[2] == "sz") {
    auto text = strings::fromUtf8Strict(args[3]);
    if (!text) return fail("the data is not valid UTF-8", 2);
    request.type = REG_SZ;
    for (char16_t ch : *text + u'\0') {
      request.data.push_back(static_cast<uint8_t>(ch));
      request.data.push_back(static_cast<uint8_t>(ch >> 8));
    }
  } else {
    return fail("the type is dword or sz, not " + args[2], 2);
  }
  auto created = c.device().call<ipc::RegistryCreateKey>({key->root, key->path, true});
  if (!created) return fail("the device did not answer");
  if (created->error) return fail("cannot create " + args[0] + ": " + describe(created->error));
  auto reply = c.device().call<ipc::RegistrySet>(request);
  if (!reply) return fail("the device did not answer");
  if (reply->error) return fail(args[0] + "\\" + args[1] + ": " + describe(reply->error));
  return saveRegistry(c, args[0] + "\\" + args[1]);
}

int remove(Context& c, const Args& args) {
  if (args.empty() || args.size() > 2) return fail("usage: reg delete KEY [VALUE]", 2);
  auto key = parseKey(args[0]);
  if (!key) return fail("not a registry key: " + args[0], 2);
  uint32_t error;
  if (args.size() == 2) {
    auto name = strings::fromUtf8Strict(args[1]);
    if (!name) return fail("the value name is not valid UTF-8", 2);
    auto reply = c.device().call<ipc::RegistryDeleteValue>({key->root, key->path, *name});
    if (!reply) return fail("the device did not answer");
    error = reply->error;
  } else {
    auto reply = c.device().call<ipc::RegistryDeleteKey>({key->root, key->path});
    if (!reply) return fail("the device did not answer");
    error = reply->error;
  }
  if (error) return fail(args[0] + (args.size() == 2 ? "\\" + args[1] : "") + ": " + describe(error));
  return saveRegistry(c, args[0] + (args.size() == 2 ? "\\" + args[1] : ""));
}

}  // namespace

// Exit 0 only once the change is on disk: the device would otherwise save it a moment later
// and could find the disk full or read-only then.
int saveRegistry(Context& c, const std::string& changed) {
  auto reply = c.device().call<ipc::RegistryFlush>({});
  if (!reply) return fail("the device did not answer");
  if (reply->error) return fail(changed + ": the change is in effect but could not be saved (" + reply->reason + ")");
  return 0;
}

int runReg(Context& c, const Args& args) {
  if (args.empty()) return fail("usage: reg dump|get|set|delete ...", 2);
  Args rest(args.begin() + 1, args.end());
  if (args[0] == "dump") return dump(c, rest);
  if (args[0] == "get") return get(c, rest);
  if (args[0] == "set") return set(c, rest);
  if (args[0] == "delete") return remove(c, rest);
  return fail("unknown reg command '" + args[0] + "'", 2);
}

}  // namespace handheld::ctl
