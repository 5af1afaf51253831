// Registry requests: keys are a predefined root (HKEY value) and a path below it.
#pragma once

#include <cstdint>
#include <string>

#include "ipc/protocol/ops.h"

namespace handheld::ipc {

struct RegistryCreateKey {
  static constexpr Op op = Op::RegistryCreateKey;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    bool create = false;  // false: open an existing key only
    HANDHELD_FIELDS(root, path, create)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t disposition = 0;
    HANDHELD_FIELDS(error, disposition)
  };
};

struct RegistryQuery {
  static constexpr Op op = Op::RegistryQuery;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    HANDHELD_FIELDS(root, path, name)
  };
  struct Reply {
    uint32_t error = 0;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(error, type, data)
  };
};

struct RegistrySet {
  static constexpr Op op = Op::RegistrySet;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(root, path, name, type, data)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct RegistryEnumKey {
  static constexpr Op op = Op::RegistryEnumKey;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    uint32_t index = 0;
    HANDHELD_FIELDS(root, path, index)
  };
  struct Reply {
    uint32_t error = 0;
    std::u16string name;
    HANDHELD_FIELDS(error, name)
  };
};

struct RegistryEnumValue {
  static constexpr Op op = Op::RegistryEnumValue;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    uint32_t index = 0;
    HANDHELD_FIELDS(root, path, index)
  };
  struct Reply {
    uint32_t error = 0;
    std::u16string name;
    uint32_t type = 0;
    Bytes data;
    HANDHELD_FIELDS(error, name, type, data)
  };
};

struct RegistryDeleteValue {
  static constexpr Op op = Op::RegistryDeleteValue;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    std::u16string name;
    HANDHELD_FIELDS(root, path, name)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

struct RegistryDeleteKey {
  static constexpr Op op = Op::RegistryDeleteKey;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    HANDHELD_FIELDS(root, path)
  };
  struct Reply {
    uint32_t error = 0;
    HANDHELD_FIELDS(error)
  };
};

// Names here must not be those of API functions: the API headers define macros such as
// RegEnumValue for them.

// The key and everything below it in the hive's text form (UTF-8).
struct RegistryExport {
  static constexpr Op op = Op::RegistryExport;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    uint32_t root = 0;
    std::u16string path;
    HANDHELD_FIELDS(root, path)
  };
  struct Reply {
    uint32_t error = 0;
    std::string text;
    HANDHELD_FIELDS(error, text)
  };
};

// Writes the whole registry to disk before answering.
struct RegistryFlush {
  static constexpr Op op = Op::RegistryFlush;
  static constexpr Direction direction = Direction::Request;
  struct Request {
    HANDHELD_NO_FIELDS
  };
  struct Reply {
    uint32_t error = 0;  // e.g. ERROR_DISK_FULL; the changes stay in memory then
    std::string reason;  // why it could not be saved, for a person
    HANDHELD_FIELDS(error, reason)
  };
};

}  // namespace handheld::ipc
