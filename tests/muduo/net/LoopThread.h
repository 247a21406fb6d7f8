#pragma once
#include <functional>
#include <future>
#include <thread>

#include "muduo/net/EventLoop.h"

// Runs an EventLoop on its own thread; setup and teardown run on that thread
// before and after loop().
class LoopThread
{
public:
    explicit LoopThread(std::function<void(muduo::net::EventLoop*)> setup = nullptr,
                        std::function<void()> teardown = nullptr)
    {
        std::promise<muduo::net::EventLoop*> ready;
        std::future<muduo::net::EventLoop*> future = ready.get_future();
        thread_ = std::thread([&ready, setup, teardown] {
            muduo::net::EventLoop loop;
            if (setup)
                setup(&loop);
            ready.set_value(&loop);
            loop.loop();
            if (teardown)
                teardown();
        });
        loop_ = future.get();
    }
    ~LoopThread()
    {
        loop_->quit();
        thread_.join();
    }
    muduo::net::EventLoop* loop() const { return loop_; }

private:
    std::thread thread_;
    muduo::net::EventLoop* loop_;
};
