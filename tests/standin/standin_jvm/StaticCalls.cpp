// The static calls: recorded with their arguments; "main" and "firstRun" do
// what the behaviour file asks, every other method returns at once.
#include "standin/standin_jvm/JniObjects.h"

namespace standin {
namespace {

// Writes one argument of a static call into its transcript line.
void describeArgument(TranscriptLine& line, Object* argument) {
    if (argument == nullptr) {
        line.word("null");
    } else if (argument->kind == Object::Kind::String) {
        line.wide(argument->text);
    } else if (argument->kind == Object::Kind::Array) {
        for (Object* element : argument->elements) {
            if (element == nullptr) line.word("null");
            else if (element->kind == Object::Kind::String) line.wide(element->text);
            else line.word("object");
        }
    } else {
        line.word("object");
    }
}

// The arguments of a static call, from a va_list or a jvalue array.
class Arguments {
public:
    explicit Arguments(va_list* list) : list_(list) {}
    explicit Arguments(const jvalue* values) : values_(values) {}

    jobject object() { return values_ ? values_[index_++].l : va_arg(*list_, jobject); }
    void skip(char type) {
        if (values_) {
            ++index_;
        } else if (type == 'J') {
            va_arg(*list_, jlong);
        } else if (type == 'F' || type == 'D') {
            va_arg(*list_, double);
        } else {
            va_arg(*list_, int);  // the narrower ones are promoted
        }
    }

private:
    va_list* list_ = nullptr;
    const jvalue* values_ = nullptr;
    size_t index_ = 0;
};

void describeArguments(const char* function, TranscriptLine& line, std::string_view signature, Arguments& arguments) {
    size_t at = 1;  // past '('
    while (at < signature.size() && signature[at] != ')') {
        size_t end = at;
        while (end < signature.size() && signature[end] == '[') ++end;
        if (end < signature.size() && signature[end] == 'L') end = signature.find(';', end);
        if (end >= signature.size()) return;
        if (end > at || signature[at] == 'L') {
            describeArgument(line, optionalObject(function, arguments.object()));
        } else {
            arguments.skip(signature[at]);
            line.word("primitive");
        }
        at = end + 1;
    }
}

// What every static call does; `returnType` is 'V' or 'Z'.
jboolean callStatic(const char* function, char returnType, jclass type, jmethodID id, Arguments& arguments) {
    object(function, type, Object::Kind::Class);
    const Method& called = method(function, id);
    if (called.signature.empty() || called.signature.back() != returnType) fault(function, "wrong return type");
    TranscriptLine line(function);
    line.narrow(called.className).narrow(called.name).narrow(called.signature);
    describeArguments(function, line, called.signature, arguments);
    line.write();

    const StandinJvmConfig& config = currentSession().config;
    if (returnType == 'V' && called.name == "main") {
        runMainSteps(currentSession());
        if (config.mainThrows) {
            throwNew("java/lang/RuntimeException", u"thrown by the stand-in main");
            return JNI_FALSE;
        }
    }
    if (returnType == 'Z' && called.name == "firstRun") {
        if (config.firstRun == FirstRunOutcome::Throw) {
            throwNew("java/lang/IllegalStateException", u"thrown by the stand-in firstRun");
            return JNI_FALSE;
        }
        const bool result = config.firstRun == FirstRunOutcome::ReturnTrue;
        TranscriptLine("return").word(result ? "true" : "false").write();
        return result ? JNI_TRUE : JNI_FALSE;
    }
    TranscriptLine returned("return");
    if (returnType == 'Z') returned.word("false");
    returned.write();
    return JNI_FALSE;
}


}  // namespace

jboolean callStaticBooleanMethod(JNIEnv*, jclass type, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    Arguments arguments(&list);
    const jboolean result = callStatic("CallStaticBooleanMethod", 'Z', type, id, arguments);
    va_end(list);
    return result;
}

jboolean STANDIN_JNICALL callStaticBooleanMethodV(JNIEnv*, jclass type, jmethodID id, va_list list) {
    va_list copy;
    va_copy(copy, list);
    Arguments arguments(&copy);
    const jboolean result = callStatic("CallStaticBooleanMethodV", 'Z', type, id, arguments);
    va_end(copy);
    return result;
}

jboolean STANDIN_JNICALL callStaticBooleanMethodA(JNIEnv*, jclass type, jmethodID id, const jvalue* values) {
    Arguments arguments(values);
    return callStatic("CallStaticBooleanMethodA", 'Z', type, id, arguments);
}

void callStaticVoidMethod(JNIEnv*, jclass type, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    Arguments arguments(&list);
    callStatic("CallStaticVoidMethod", 'V', type, id, arguments);
    va_end(list);
}

void STANDIN_JNICALL callStaticVoidMethodV(JNIEnv*, jclass type, jmethodID id, va_list list) {
    va_list copy;
    va_copy(copy, list);
    Arguments arguments(&copy);
    callStatic("CallStaticVoidMethodV", 'V', type, id, arguments);
    va_end(copy);
}

void STANDIN_JNICALL callStaticVoidMethodA(JNIEnv*, jclass type, jmethodID id, const jvalue* values) {
    Arguments arguments(values);
    callStatic("CallStaticVoidMethodA", 'V', type, id, arguments);
}


}  // namespace standin
