#pragma once

#include "device/DeviceImage.h"
#include "editor/ConfigEditor.h"
#include "editor/ConfigModel.h"
#include "editor/Effects.h"
#include "language/LanguageText.h"
#include "link/interface/TransferState.h"

namespace zmt::testing {

// A fresh editor and device state, configured as the worked example of a 20 mA meter:
// 0 -> 0, 20 -> 2000, contact 2000/2000, polarity "+", "gwnorm", decimal point code 0.
struct DeviceRig {
    ConfigModel model;
    SessionState session;
    LanguageText texts;
    ConfigEditor editor{model, session, texts};
    DeviceState device;
    TransferState transfer;
    Effects fx;

    DeviceRig() {
        texts.FillLanguageText();
        model.SelectRange = 1;
        editor.UpdateRangeInfo();
        model.polaritaet = "+";
        model.DecimalPoint = 0;
        model.DisplayAtZero = 0;
        model.DisplayAtFullScale = 2000;
    }

    // The answers of a meter holding `image` to a frame: the interface echoes every byte,
    // the meter answers the command with itself and byte k with image byte k - 1.
    void AnswerAsMeter(const ImageWords& image, int sentBytes) {
        transfer.ReceiveCount = 0;
        for (int k = 0; k < sentBytes; ++k) {
            transfer.StoreReceived(transfer.SendBuffer[k] & 0xFF);
            transfer.StoreReceived(k == 0 ? CommandByte : ImageByte(image, k - 1));
        }
    }

    static std::uint8_t ImageByte(const ImageWords& image, int index) {
        if (index >= 2 * ImageWordCount) return 0;
        const std::uint16_t word = image[index / 2];
        return index % 2 == 0 ? word & 0xFF : word >> 8;
    }
};

}  // namespace zmt::testing
