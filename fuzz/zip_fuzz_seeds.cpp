// Writes the seed corpus of the ZIP fuzz target into a folder: small archives made by the
// project's fixture writer, one for each structure the reader knows.

#include "support/zip_writer.hpp"

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace ludrin::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zip_fuzz_seeds FOLDER\n";
        return 2;
    }
    std::vector<std::pair<std::string, ZipArchivePlan>> seeds;
    ZipArchivePlan plain;
    ZipEntryPlan folder = MakeEntry("dir/", "", 0);
    folder.externalAttr = 0x10;
    plain.entries = {folder, MakeEntry("dir/a.txt", TextBytes(300, 1), 8),
                     MakeEntry("b.bin", RandomBytes(40, 2), 0)};
    seeds.push_back({"plain", plain});

    ZipArchivePlan commented = plain;
    commented.comment = "PK\x05\x06 comment";
    seeds.push_back({"comment", commented});

    ZipArchivePlan stub = plain;
    stub.stub = "MZ" + std::string(60, '\0');
    stub.offsetsIncludeStub = false;
    seeds.push_back({"stub", stub});

    ZipArchivePlan zip64 = plain;
    zip64.zip64EndRecords = true;
    for (auto& e : zip64.entries) {
        e.zip64 = true;
    }
    seeds.push_back({"zip64", zip64});

    ZipArchivePlan descriptors = plain;
    descriptors.entries[1].dataDescriptor = true;
    descriptors.entries[2].dataDescriptor = true;
    descriptors.entries[2].descriptorSignature = false;
    seeds.push_back({"descriptors", descriptors});

    ZipArchivePlan encrypted = plain;
    encrypted.entries[1].password = "secret";
    encrypted.entries[2].password = "other";
    seeds.push_back({"encrypted", encrypted});

    ZipArchivePlan names = plain;
    names.entries[1].name = "Gr\x94\xE1"
                            "e.txt";
    names.entries[2].centralExtra =
        UnicodeNameBlock(u"\u00E8.bin") + AesBlock(1, 8) + ExtraBlock(0x0001, Le64(1));
    seeds.push_back({"names", names});

    // Names that must never leave the base folder, and a Unix symbolic link.
    ZipArchivePlan hostile = plain;
    hostile.entries.push_back(MakeEntry("../up.txt", "x", 0));
    hostile.entries.push_back(MakeEntry("a.txt:stream", "x", 0));
    hostile.entries.push_back(MakeEntry("C:\\drive.txt", "x", 0));
    ZipEntryPlan link = MakeEntry("link", "../../outside", 0);
    link.versionMadeBy = 0x031E;
    link.externalAttr = 0120777u << 16;
    hostile.entries.push_back(link);
    seeds.push_back({"hostile", hostile});

    for (const auto& [name, spec] : seeds) {
        const std::string bytes = WriteZip(spec);
        std::ofstream out(std::string(argv[1]) + "/" + name + ".zip", std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        // Cut short: the rebuild from local headers.
        std::ofstream cut(std::string(argv[1]) + "/" + name + "-cut.zip", std::ios::binary);
        cut.write(bytes.data(), static_cast<std::streamsize>(bytes.size() * 2 / 3));
    }
    return 0;
}
