#include "base/file_io.h"
#include "icons/module_resources.h"

namespace icotake {
namespace {

class PeModule final : public ModuleResources {
 public:
  PeModule(MappedFile file, PeResources resources)
      : file_(std::move(file)), resources_(resources) {}

  bool EnumIconGroups(const std::function<void(const ResourceName&)>& visit) override {
    return resources_.EnumNames(kGroupIconResource, visit);
  }
  std::optional<std::vector<ListedResource>> ListIconGroups() override {
    ResourceListing listing = resources_.List(kGroupIconResource);
    if (!listing.problem.empty() || listing.resources.empty()) return std::nullopt;
    return std::move(listing.resources);
  }
  std::optional<Bytes> Find(std::uint16_t type, const ResourceName& name) override {
    return resources_.Find(type, name);
  }
  bool CopyResource(Bytes resource, std::vector<std::uint8_t>& out) override {
    out.resize(resource.size());
    return file_.CopyOut(resource, out.data());
  }
  std::optional<Bytes> FindLanguage(std::uint16_t type, const ResourceName& name,
                                    std::uint16_t language) override {
    return resources_.Find(type, name, language);
  }
  std::uint64_t fileSize() const override { return file_.bytes().size(); }

 private:
  MappedFile file_;         // owns the bytes that resources_ looks at
  PeResources resources_;
};

}  // namespace

std::unique_ptr<ModuleResources> OpenPeModule(const std::string& path) {
  std::optional<MappedFile> file = MappedFile::Open(path);
  if (!file) return nullptr;
  const std::optional<PeResources> resources = PeResources::Parse(file->bytes());
  if (!resources) return nullptr;
  return std::make_unique<PeModule>(std::move(*file), *resources);
}

}  // namespace icotake
