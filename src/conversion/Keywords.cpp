#include "conversion/Keywords.h"

#include <memory>

namespace quillmark {

const std::string_view KeywordList =
    "Access,AddressOf,Alias,And,Any,Append,As,Base,Begin,Binary,Boolean,ByRef,Byte,ByVal,Call,"
    "Case,CBool,CByte,CCur,CDate,CDbl,CDec,CInt,Circle,CLng,Close,Compare,Const,CSng,CStr,"
    "Currency,CVar,Date,Debug.Assert,Debug.Print,Declare,Dim,Do,Double,Each,Else,ElseIf,End,Enum,"
    "Eqv,Erase,Error,Event,Exit,Explicit,False,For,Friend,Function,Get,Global,GoTo,If,Imp,"
    "Implements,In,Input,Integer,Is,LBound,Len,LenB,Let,Lib,Like,Line,Lock,Long,Loop,LSet,Mod,"
    "New,Next,Not,Nothing,Null,Object,On,Open,Option,Optional,Or,Output,ParamArray,Preserve,"
    "Print,Private,Property,PSet,Public,Put,RaiseEvent,Random,Read,ReDim,Resume,RSet,Scale,Seek,"
    "Select,Set,Shared,Single,Static,Step,StrComp,String,Sub,Then,To,True,Type,TypeOf,UBound,"
    "Unlock,Until,Variant,Wend,While,With,WithEvents,Write,Xor";

std::unique_ptr<KeywordTable> MakeKeywordTable()
{
    auto table = std::make_unique<KeywordTable>();
    std::string_view rest = KeywordList;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view word = rest.substr(0, comma);
        if (!table->Exists(word))
            table->Add(word, 1);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return table;
}

} // namespace quillmark
