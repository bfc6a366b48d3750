// A fake of the clipboard port: the formats in order, each as its bytes or as a handle
// Data cannot copy; a sequence number that moves with every change; formats placed on
// request until a program reads them; and a clipboard another program may hold or write.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ClipboardPort.h"

namespace ostrel::testing {

class FakeClipboard : public ClipboardPort {
 public:
  struct Entry {
    std::uint32_t format;
    std::optional<std::string> bytes;  // none: a bitmap's handle, or placed on request
  };
  std::vector<Entry> entries;
  int busyOpens = 0;         // Open is refused this many times, then taken
  bool refuseOnRequest = false;
  std::uint32_t sequence = 1;
  int opens = 0;

  // Another program replaces the clipboard's contents.
  void Write(std::uint32_t format, std::string bytes) {
    entries = {{format, std::move(bytes)}};
    ++sequence;
  }
  // A program reads a format; one placed on request is handed over then.
  std::optional<std::string> Read(std::uint32_t format) {
    Entry* e = Find(format);
    if (!e) return std::nullopt;
    if (auto it = onRequest_.find(format); it != onRequest_.end()) {
      e->bytes = it->second;
      onRequest_.erase(it);
      ++renders_;
      ++sequence;  // Windows may count the handing over as a change
    }
    return e->bytes;
  }
  std::vector<std::pair<std::uint32_t, std::string>> Contents() const {
    std::vector<std::pair<std::uint32_t, std::string>> out;
    for (const Entry& e : entries) out.emplace_back(e.format, e.bytes.value_or("<handle>"));
    return out;
  }

  bool Open() override {
    ++opens;
    if (busyOpens > 0) return --busyOpens, false;
    return open_ = true;
  }
  void Close() override { open_ = false; }
  bool Empty() override {
    if (!open_) return false;
    entries.clear();
    onRequest_.clear();
    ++sequence;
    return true;
  }
  std::vector<std::uint32_t> Formats() override {
    std::vector<std::uint32_t> out;
    for (const Entry& e : entries) out.push_back(e.format);
    return out;
  }
  std::optional<std::string> Data(std::uint32_t format) override { return Read(format); }
  bool SetData(std::uint32_t format, const std::string& bytes) override {
    if (!open_) return false;
    Put(format, bytes);
    return true;
  }
  bool SetDataOnRequest(std::uint32_t format, const std::string& bytes) override {
    if (!open_ || refuseOnRequest) return false;
    Put(format, std::nullopt);
    onRequest_[format] = bytes;
    renders_ = 0;
    return true;
  }
  int RenderRequests() override { return renders_; }
  std::uint32_t RegisterFormat(const std::string& name) override {
    return registered_.emplace(name, 0xC000 + registered_.size()).first->second;
  }
  std::uint32_t SequenceNumber() override { return sequence; }

 private:
  Entry* Find(std::uint32_t format) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return e.format == format; });
    return it == entries.end() ? nullptr : &*it;
  }
  void Put(std::uint32_t format, std::optional<std::string> bytes) {
    if (Entry* e = Find(format))
      e->bytes = std::move(bytes);
    else
      entries.push_back({format, std::move(bytes)});
    ++sequence;
  }

  bool open_ = false;
  int renders_ = 0;
  std::map<std::uint32_t, std::string> onRequest_;
  std::map<std::string, std::uint32_t> registered_;
};

}  // namespace ostrel::testing
