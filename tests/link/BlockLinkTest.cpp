// Block transfers and the probe catalogue, against the simulator.
#include "BlockLink.h"
#include "BlockTransfer.h"
#include "SimFixture.h"

using namespace vantor;
using vantor::sim::Fault;

namespace {

class BlockLinkTest : public test::SimFixture {
protected:
    // First register of every request the instrument's lines received, in order.
    std::vector<int> requestedRegisters() const
    {
        std::vector<int> out;
        for (const auto& r : simulator->requests())
            out.push_back((r.bytes.at(2) << 8) | r.bytes.at(3));
        return out;
    }

    ProbeCatalogue catalogue;
    BlockLink link{master, catalogue};
    ParameterRecord record;
};

}  // namespace

TEST_F(BlockLinkTest, FirstTransactionReadsTheCatalogueFirst)
{
    ASSERT_EQ(readBlock(link, kCalibrationCodec, record), 0);
    EXPECT_EQ(requestedRegisters(), (std::vector<int>{0x5000, 0x1100}));
    EXPECT_EQ(simulator->requests().at(0).bytes, (std::vector<uint8_t>{0x01, 0x03, 0x50, 0x00, 0x00, 0x78, 0x54, 0xE8}))
        << "24 probes of 5 registers, read whole";
    EXPECT_TRUE(catalogue.read);
    EXPECT_EQ(catalogue.names[16], "DUAL-600");
    EXPECT_EQ(catalogue.angles[14], -15);

    simulator->clearRequests();
    ASSERT_EQ(readBlock(link, kCalibrationCodec, record), 0);
    EXPECT_EQ(requestedRegisters(), (std::vector<int>{0x1100})) << "the second sends only the caller's request";
}

TEST_F(BlockLinkTest, AFailedReadSendsNothingElseAndChangesNothing)
{
    simulator->injectFault(Fault::Silence, 3);
    EXPECT_EQ(readBlock(link, kCalibrationCodec, record), -1);
    EXPECT_EQ(requestedRegisters(), (std::vector<int>{0x5000, 0x5000, 0x5000}));
    EXPECT_FALSE(catalogue.read);

    // A failed read leaves the values as they were.
    record.maker.ref2 = 12;
    simulator->injectFault(Fault::BadCrc, 3);
    EXPECT_EQ(readBlock(link, kMakerCodec, record), -1);
    EXPECT_EQ(record.maker.ref2, 12.0f);
}

TEST(ProbeCatalogueParse, NamesEndAtANulOrAfterEightCharacters)
{
    std::vector<uint8_t> image(240, 0);
    image[0] = 'A', image[1] = 'B';
    for (int i = 0; i < 8; ++i)
        image[10 + i] = static_cast<uint8_t>('C' + i);
    image[18] = 0xFF, image[19] = 0xFE;
    image[20] = 'x', image[28] = 0x01, image[29] = 0x02;
    image[30] = 'D', image[31] = 0xE9, image[32] = 'b';  // Windows-1252 on the wire
    ProbeCatalogue catalogue;
    catalogue.names[23] = "old";
    parseProbeCatalogue(image, catalogue);
    EXPECT_EQ(catalogue.names[0], "AB");
    EXPECT_EQ(catalogue.names[1], "CDEFGHIJ");
    EXPECT_EQ(catalogue.angles[1], -2);
    EXPECT_EQ(catalogue.angles[2], 0x0102);
    EXPECT_EQ(catalogue.names[3], "D\xC3\xA9" "b") << "kept in UTF-8";
    EXPECT_EQ(catalogue.names[23], "");

    ProbeCatalogue partial;
    partial.names[5] = "kept";
    parseProbeCatalogue(std::span<const uint8_t>(image).first(45), partial);
    EXPECT_EQ(partial.names[2], "x");
    EXPECT_EQ(partial.names[5], "kept") << "entries past a short image are not read";
}
