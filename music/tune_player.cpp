#include "music/tune_player.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vokta {

TunePlayer::~TunePlayer()
{
    MidiStream* closing = nullptr;
    {
        std::lock_guard lock(mutex_);
        stopLocked();
        tune_.reset();
        for (int i = 0; i < 2; ++i) {
            if (prepared_[i]) {
                lastResult_ = stream_ ? stream_->unprepareHeader(headers_[i]) : MidiResult::NotOpen;
                prepared_[i] = false;
            }
            headers_[i].data = nullptr;
            buffers_[i].reset();
        }
        std::swap(closing, stream_);
    }
    // Outside the lock: close waits for a notification in flight, and that
    // notification takes the lock (then finds no stream and no tune).
    if (closing != nullptr)
        closing->close();
}

bool TunePlayer::open(MidiStream& stream)
{
    std::lock_guard lock(mutex_);
    if (stream_ != nullptr)
        return false;
    deviceId_ = kMidiMapper;
    lastResult_ = stream.open(deviceId_, [this](StreamMessage message) { onStreamDone(message); });
    for (int i = 0; i < 2; ++i) {
        buffers_[i] = std::make_unique<std::uint8_t[]>(kBufferBytes);
        headers_[i].data = buffers_[i].get();
        headers_[i].bufferLength = kBufferBytes;
        headers_[i].bytesRecorded = kBufferBytes;
        headers_[i].flags = 0;
        prepared_[i] = false;
    }
    lastBuffer_ = 0;
    if (lastResult_ != MidiResult::Ok)
        return false;
    stream_ = &stream;
    return true;
}

void TunePlayer::stop()
{
    std::lock_guard lock(mutex_);
    stopLocked();
}

void TunePlayer::releaseTune()
{
    std::lock_guard lock(mutex_);
    tune_.reset();
}

bool TunePlayer::play(std::unique_ptr<Tune> tune)
{
    if (!tune)
        return false;
    std::lock_guard lock(mutex_);
    tune_ = std::move(tune);
    sentBytes_ = 0;
    chunkBytes_ = 0;
    queueNextChunkLocked();
    return true;
}

bool TunePlayer::restart()
{
    std::lock_guard lock(mutex_);
    return restartLocked();
}

bool TunePlayer::queueNextChunk()
{
    std::lock_guard lock(mutex_);
    return queueNextChunkLocked();
}

void TunePlayer::onStreamDone(StreamMessage message)
{
    if (message != StreamMessage::Done)
        return;
    std::lock_guard lock(mutex_);
    if (queueNextChunkLocked())
        restartLocked();
}

MidiResult TunePlayer::lastResult() const
{
    std::lock_guard lock(mutex_);
    return lastResult_;
}

void TunePlayer::stopLocked()
{
    lastResult_ = stream_ ? stream_->stop() : MidiResult::NotOpen;
    chunkBytes_ = 0;
}

bool TunePlayer::restartLocked()
{
    lastResult_ = stream_ ? stream_->restart() : MidiResult::NotOpen;
    return lastResult_ == MidiResult::Ok;
}

bool TunePlayer::queueNextChunkLocked()
{
    if (!tune_ || tune_->sizeInBytes() == sentBytes_) {
        chunkBytes_ = 0;
        return false;
    }
    // Before open there is nowhere to copy a chunk to.
    if (!buffers_[0])
        return false;

    // A buffer still in the stream's queue is never refilled: a step tune
    // requested while both buffers wait would otherwise overwrite a chunk
    // being played. That buffer's own Done notification sends the chunk.
    const int next = 1 - lastBuffer_;
    MidiHeader& header = headers_[next];
    if ((header.flags.load() & kHeaderInQueue) != 0)
        return false;

    const std::uint32_t chunk = std::min(tune_->sizeInBytes() - sentBytes_, kBufferBytes);
    chunkBytes_ = chunk;
    lastBuffer_ = next;
    std::memcpy(buffers_[next].get(), reinterpret_cast<const std::uint8_t*>(tune_->events()) + sentBytes_, chunk);
    header.bytesRecorded = chunk;
    sentBytes_ += chunk;

    if (!prepared_[next]) {
        lastResult_ = stream_ ? stream_->prepareHeader(header) : MidiResult::NotOpen;
        prepared_[next] = lastResult_ == MidiResult::Ok;
    }
    lastResult_ = stream_ ? stream_->out(header) : MidiResult::NotOpen;
    return lastResult_ == MidiResult::Ok;
}

}  // namespace vokta
