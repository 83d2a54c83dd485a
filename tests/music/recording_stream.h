#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "music/midi_stream.h"

namespace vokta::test {

// A MidiStream that records the calls made on it and plays nothing: the
// test decides when a queued buffer is done and delivers the notification
// itself, from the test's thread, as the stream's own thread would.
class RecordingStream : public MidiStream {
public:
    struct Queued {
        MidiHeader* header;
        std::vector<std::uint8_t> data;  // the events as they were when queued
    };

    MidiResult open(std::uint32_t deviceId, Notify notify) override
    {
        calls.push_back("open");
        if (deviceId != kMidiMapper)
            return MidiResult::BadDevice;
        if (openResult == MidiResult::Ok)
            notify_ = std::move(notify);
        return openResult;
    }
    MidiResult prepareHeader(MidiHeader& header) override
    {
        calls.push_back("prepare");
        header.flags |= kHeaderPrepared;
        return MidiResult::Ok;
    }
    MidiResult out(MidiHeader& header) override
    {
        calls.push_back("out " + std::to_string(header.bytesRecorded));
        if ((header.flags & kHeaderPrepared) == 0)
            return MidiResult::Unprepared;
        if ((header.flags & kHeaderInQueue) != 0)
            return MidiResult::StillPlaying;
        header.flags = (header.flags & ~kHeaderDone) | kHeaderInQueue;
        queue.push_back({&header, {header.data, header.data + header.bytesRecorded}});
        return MidiResult::Ok;
    }
    MidiResult restart() override
    {
        calls.push_back("restart");
        return MidiResult::Ok;
    }
    MidiResult stop() override
    {
        calls.push_back("stop");
        staleDone += queue.size();
        while (!queue.empty())
            markDone();
        return MidiResult::Ok;
    }
    MidiResult unprepareHeader(MidiHeader& header) override
    {
        calls.push_back("unprepare");
        if ((header.flags & kHeaderInQueue) != 0)
            return MidiResult::StillPlaying;
        header.flags &= ~kHeaderPrepared;
        return MidiResult::Ok;
    }
    MidiResult close() override
    {
        calls.push_back("close");
        return MidiResult::Ok;
    }

    // Plays the first queued buffer to its end: checks that nobody wrote to
    // it while it was queued, then reports it done.
    void finishFront()
    {
        ASSERT_FALSE(queue.empty());
        const Queued& front = queue.front();
        EXPECT_EQ(std::vector<std::uint8_t>(front.header->data, front.header->data + front.header->bytesRecorded),
                  front.data)
            << "a queued buffer was overwritten";
        played.push_back(front.data);
        markDone();
        notify(StreamMessage::Done);
    }

    // The Done notifications that stop caused, arriving late.
    void deliverStaleDone()
    {
        for (; staleDone > 0; --staleDone)
            notify(StreamMessage::Done);
    }

    void notify(StreamMessage message)
    {
        if (notify_)
            notify_(message);
    }

    MidiResult openResult = MidiResult::Ok;
    std::vector<std::string> calls;
    std::deque<Queued> queue;
    std::vector<std::vector<std::uint8_t>> played;
    std::size_t staleDone = 0;

private:
    void markDone()
    {
        MidiHeader& header = *queue.front().header;
        header.flags = (header.flags & ~kHeaderInQueue) | kHeaderDone;
        queue.pop_front();
    }

    Notify notify_;
};

}  // namespace vokta::test
