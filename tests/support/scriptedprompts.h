#pragma once

#include <gtest/gtest.h>

#include "recordingprompts.h"

namespace velmora::testing {

// The recording seam for GoogleTest: an unprepared question fails the test.
class ScriptedPrompts : public RecordingPrompts {
protected:
    void Unexpected(const std::string& what) override { ADD_FAILURE() << "unexpected " << what; }
};

}  // namespace velmora::testing
