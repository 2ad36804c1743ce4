#pragma once

// The main window's services made of the test fakes.

#include <memory>

#include "app/window_services.h"
#include "tests/support/service_fakes.h"

namespace tolvane::testing {

// Fakes that answer at once, with handles to reach them after the window has taken them over.
struct FakeServices {
    WindowServices services;
    FakeMessages* messages = nullptr;
    FakeChooser* save_list = nullptr;
    FakeChooser* open_list = nullptr;
    FakeChooser* style_sheet = nullptr;
    FakeChooser* export_search = nullptr;
    FakeLinks* links = nullptr;
    FakeBrowser* browser = nullptr;
};

template <typename Fake, typename Base>
Fake* Keep(std::unique_ptr<Base>& slot) {
    auto fake = std::make_unique<Fake>();
    Fake* handle = fake.get();
    slot = std::move(fake);
    return handle;
}

// Fakes for every service; the browser view too unless one is given (the real web engine, say).
inline FakeServices MakeFakeServices(std::unique_ptr<BrowserWidget> browser = nullptr) {
    FakeServices fakes;
    WindowServices& services = fakes.services;
    fakes.messages = Keep<FakeMessages>(services.messages);
    fakes.save_list = Keep<FakeChooser>(services.save_list);
    fakes.open_list = Keep<FakeChooser>(services.open_list);
    fakes.style_sheet = Keep<FakeChooser>(services.style_sheet);
    fakes.export_search = Keep<FakeChooser>(services.export_search);
    fakes.links = Keep<FakeLinks>(services.links);
    if (browser != nullptr) {
        services.browser = std::move(browser);
    } else {
        fakes.browser = Keep<FakeBrowser>(services.browser);
    }
    return fakes;
}

}  // namespace tolvane::testing
