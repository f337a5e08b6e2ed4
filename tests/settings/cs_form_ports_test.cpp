// The port dialog over a port catalogue that knows devices: every present
// port listed by number with its device drawn beside it, the chosen port's
// device under the list, and a port in use kept when it is the configured one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "settings/cs_form.h"
#include "tests/link/fake_port_catalogue.h"
#include "ui/headless/recording_canvas.h"
#include "ui/headless/user.h"

namespace {

using Items = std::vector<std::string>;
using ui::headless::RecordingCanvas;

class CSFormPortsTest : public testing::Test {
 protected:
    void SetUp() override
    {
        catalogue.list = {
            {3, "Communications Port", "ACPI\\PNP0501\\1", {}, false},
            FakePortCatalogue::usb(7, "USB-SERIAL CH340", 0x1A86, 0x7523),
            FakePortCatalogue::usb(40, "FT232R USB UART", 0x0403, 0x6001, "A50285BI", true),
        };
        port_settings.port_num = 7;
    }
    int run_dialog(std::function<void(TCSForm&)> steps)
    {
        user.in_modal("CSForm", [&](ui::Form&) { steps(dlg); });
        return dlg.show_modal();
    }
    // What drawing item `index` of the port list puts on the screen.
    RecordingCanvas draw(int index, bool selected = false)
    {
        const ui::Rect row{0, 0, 256, 15};
        RecordingCanvas canvas(row);
        dlg.CBcomn.draw_item(canvas, index, row, selected);
        return canvas;
    }

    SimPortDriver sim;
    SerialLink link{sim};
    FakePortCatalogue catalogue;
    PortSettings port_settings;
    ui::headless::User user;
    ui::Form main_window{"MForm"};
    TCSForm dlg{link, port_settings, catalogue};
};

TEST_F(CSFormPortsTest, EveryPortByNumberWithItsDeviceDrawnBeside)
{
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.CBcomn.items(), (Items{"COM3", "COM7", "COM40"})) << "the texts stay COM + n";
        EXPECT_TRUE(f.CBcomn.owner_draw());
        EXPECT_EQ(draw(0).texts(), (Items{"COM3", "Communications Port"}));
        EXPECT_EQ(draw(1).texts(), (Items{"COM7", "USB-SERIAL CH340"}));

        const RecordingCanvas busy = draw(2);
        ASSERT_EQ(busy.texts(), (Items{"COM40", "in use", "FT232R USB UART"}));
        EXPECT_EQ(busy.ops()[2].font.color, ui::colors::gray_text) << "in use is greyed";
        EXPECT_EQ(busy.ops()[3].font.color, ui::colors::window_text);
        // The names start in one column whatever the number's width.
        EXPECT_EQ(draw(0).ops()[2].a.x, draw(1).ops()[2].a.x);

        const RecordingCanvas chosen = draw(1, true);
        EXPECT_EQ(chosen.fill_at({100, 5}), ui::colors::highlight);
        EXPECT_EQ(chosen.ops()[1].font.color, ui::colors::highlight_text);
        EXPECT_TRUE(draw(-1).texts().empty()) << "an empty field draws only its background";
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormPortsTest, TheLabelNamesTheChosenPortsDeviceAndItsUsbIds)
{
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.LBcomdev.caption(), "USB-SERIAL CH340 - VID 1A86 PID 7523");
        user.select(f.CBcomn, "COM40");
        EXPECT_EQ(f.LBcomdev.caption(), "FT232R USB UART - VID 0403 PID 6001 serial A50285BI (in use)");
        user.select(f.CBcomn, "COM3");
        EXPECT_EQ(f.LBcomdev.caption(), "Communications Port");
        user.click(f.BtnCancel);
    });
}

TEST_F(CSFormPortsTest, AConfiguredPortInUseStaysChosenAndOkKeepsIt)
{
    port_settings.port_num = 40;
    EXPECT_EQ(run_dialog([&](TCSForm& f) {
                  EXPECT_EQ(f.CBcomn.text(), "COM40");
                  user.click(f.BtnOk);
              }),
              ui::mr::Ok);
    EXPECT_EQ(port_settings.port_num, 40);
}

TEST_F(CSFormPortsTest, AnAbsentConfiguredPortGivesTheLowestFreeOne)
{
    catalogue.list[0].in_use = true;  // COM3 held: COM7 is the lowest free port
    port_settings.port_num = 9;
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(f.CBcomn.text(), "COM7");
        user.click(f.BtnOk);
    });
    EXPECT_EQ(port_settings.port_num, 7);
}

TEST_F(CSFormPortsTest, EveryShowingAndRefreshAskTheCatalogueAnew)
{
    run_dialog([&](TCSForm& f) {
        EXPECT_EQ(catalogue.calls, 1);
        catalogue.list.push_back(FakePortCatalogue::usb(60, "Arduino Leonardo", 0x2341, 0x8036, "HIDPC"));
        catalogue.list.erase(catalogue.list.begin());
        user.click(f.BtnBack);
        EXPECT_EQ(catalogue.calls, 2);
        EXPECT_EQ(f.CBcomn.items(), (Items{"COM7", "COM40", "COM60"}));
        EXPECT_EQ(f.port_infos()[2].name, "Arduino Leonardo");
        user.click(f.BtnCancel);
    });
    run_dialog([&](TCSForm& f) { user.click(f.BtnCancel); });
    EXPECT_EQ(catalogue.calls, 3);
}

}  // namespace
