#include "standin/standin_jvm/JniObjects.h"

#include <deque>
#include <mutex>
#include <unordered_set>
#include <utility>

namespace standin {
namespace {

class Heap {
public:
    Object* add(Object object) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Object* added = &objects_.emplace_back(std::move(object));
        known_.insert(added);
        return added;
    }
    Method* add(Method method) {
        const std::lock_guard<std::mutex> lock(mutex_);
        Method* added = &methods_.emplace_back(std::move(method));
        known_.insert(added);
        return added;
    }
    bool knows(const void* handle) {
        const std::lock_guard<std::mutex> lock(mutex_);
        return known_.count(handle) != 0;
    }

private:
    std::mutex mutex_;
    std::deque<Object> objects_;  // a deque never moves what it holds
    std::deque<Method> methods_;
    std::unordered_set<const void*> known_;
};

Heap& heap() {
    static Heap instance;
    return instance;
}

thread_local Object* pending = nullptr;

}  // namespace

jobject newObject(Object object) { return reinterpret_cast<jobject>(heap().add(std::move(object))); }

jmethodID newMethod(Method method) { return reinterpret_cast<jmethodID>(heap().add(std::move(method))); }

Object* optionalObject(const char* function, jobject reference) {
    if (reference == nullptr) return nullptr;
    if (!heap().knows(reference)) fault(function, "unknown reference");
    return reinterpret_cast<Object*>(reference);
}

Object* object(const char* function, jobject reference, Object::Kind kind) {
    Object* found = optionalObject(function, reference);
    if (found == nullptr) fault(function, "null reference");
    if (found->kind != kind) fault(function, "reference of the wrong kind");
    return found;
}

const Method& method(const char* function, jmethodID id) {
    if (id == nullptr || !heap().knows(id)) fault(function, "unknown method id");
    return *reinterpret_cast<const Method*>(id);
}

const char* text(const char* function, const char* value) {
    if (value == nullptr) fault(function, "null text");
    return value;
}

Object* pendingException() { return pending; }

void setPendingException(Object* exception) { pending = exception; }

void clearPendingException() { pending = nullptr; }

void throwNew(const char* exceptionClass, std::u16string message) {
    pending = heap().add(Object{Object::Kind::Throwable, exceptionClass, std::move(message), {}});
    TranscriptLine("throw").narrow(exceptionClass).write();
}

}  // namespace standin
