// Writes the seed corpora of the fuzz targets into FOLDER/<target>/, each made by the
// project's own writers: the store's packer, container and form writers, the executable
// fixture writer, and the shortcut writer. (The ZIP seeds come from fuzz_zip_seeds.)

#include "platform/shelllink/lnk_format.hpp"
#include "store/block_packer.hpp"
#include "store/file_storage.hpp"
#include "store/form_stream.hpp"
#include "support/pe_image_writer.hpp"
#include "support/resource_tree_writer.hpp"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace stdfs = std::filesystem;

void Write(const stdfs::path& folder, const std::string& name, const Bytes& bytes) {
    stdfs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes Text(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>("the payload store "[i % 18]);
    }
    return bytes;
}

Bytes Noise(std::size_t size, std::uint32_t seed) {
    Bytes bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

Bytes Packed(const Bytes& data) {
    Bytes packed(ludrin::store::SFCalcTargetSz(data.size()));
    packed.resize(ludrin::store::SFPack(data, packed));
    return packed;
}

void AddFile(ludrin::store::TstFileStorage& store, const wchar_t* name, Bytes data) {
    auto file = std::make_unique<ludrin::store::TStoredFile>(&store);
    file->FileName = name;
    file->Size = static_cast<std::uint32_t>(data.size());
    file->Data = std::move(data);
    store.Files.push_back(std::move(file));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds FOLDER\n";
        return 2;
    }
    const stdfs::path root = argv[1];

    // The block unpacker: two bytes of room, then packed blocks.
    const std::pair<const char*, Bytes> samples[] = {
        {"text", Text(3000)}, {"noise", Noise(700, 1)}, {"runs", Bytes(5000, 0)}, {"empty", {}}};
    for (const auto& [name, data] : samples) {
        Bytes seed = {static_cast<std::uint8_t>(data.size()),
                      static_cast<std::uint8_t>(data.size() >> 8)};
        const Bytes packed = Packed(data);
        seed.insert(seed.end(), packed.begin() + 4, packed.end()); // without the size field
        Write(root / "sfunpack", name, seed);
    }

    // Containers and forms: six files like the payload's, and smaller stores.
    ludrin::store::TstFileStorage six;
    AddFile(six, L"brvdll.zip", Noise(900, 2));
    AddFile(six, L"LUD.exe", Text(1200));
    AddFile(six, L"Ludrin.exe", Text(800));
    AddFile(six, L"LAVFilters-0.75.0-2.exe", Noise(300, 3));
    AddFile(six, L"ffdshow_rev4532_20140717_clsid.exe", Bytes(2000, 0x90));
    AddFile(six, L"AviSynth_260.exe", {});
    ludrin::store::TstFileStorage one;
    AddFile(one, L"a.txt", Text(100));
    ludrin::store::TstFileStorage none;
    const std::pair<const char*, const ludrin::store::TstFileStorage*> stores[] = {
        {"six", &six}, {"one", &one}, {"none", &none}};
    for (const auto& [name, store] : stores) {
        Bytes container;
        store->WriteData(container);
        Write(root / "container", name, container);
        const Bytes form = ludrin::store::WriteFormStream(*store);
        Write(root / "form_stream", name, form);
        Write(root / "pe_resources", name, ludrin::testing::PeImageWithRcData(u"TFORMMAIN", form));
    }
    Write(root / "pe_resources", "repeated",
          ludrin::testing::PeImageWithResourceTree(
              ludrin::testing::RepeatedRcDataTree(4, 3, u"TFORMMAIX", u"TFORMMAIN", Text(20))));

    // Shortcuts as the installer writes them, and with every optional field.
    ludrin::shelllink::lnk::ShellLinkData link;
    link.target = L"C:\\Users\\u\\Documents\\Ludrin\\LUD.exe";
    link.workingDirectory = L"C:\\Users\\u\\Documents\\Ludrin";
    Write(root / "shell_link", "installer", ludrin::shelllink::lnk::WriteShellLink(link));
    link.arguments = L"/play \u00E8";
    link.description = L"Ludrin";
    link.iconLocation = L"C:\\icons\\l.ico";
    link.iconIndex = 3;
    link.hotKey = 0x0341;
    Write(root / "shell_link", "full", ludrin::shelllink::lnk::WriteShellLink(link));
    return 0;
}
