' Drives Quillmark.CMMTimer by name, as any script client would; names a wrong answer, or says
' that all answers were right.
Sub Expect(ok, what)
    If Not ok Then
        WScript.Echo "wrong: " & what
        WScript.Quit 1
    End If
End Sub

Set t = CreateObject("Quillmark.CMMTimer")
Expect t.ScaleFactor = 1000, "ScaleFactor starts at 1000"
Expect t.ElapsedTime = 0, "a new timer reads 0"
t.ScaleFactor = 0
t.ScaleFactor = -5
Expect t.ScaleFactor = 1000, "0 and -5 are ignored"
t.ScaleFactor = 1
t.StartTimer
started = Timer
Do While Timer - started < 0.25
Loop
t.StopTimer
stopped = t.ElapsedTime
Expect stopped >= 150 And stopped < 5000, "about 250 ms measured, not " & stopped
Expect t.ElapsedTime = stopped, "a stopped timer keeps its reading"

Set c = CreateObject("Quillmark.Connect")
Expect Not c.FormDisplayed, "FormDisplayed starts False"
c.FormDisplayed = True
Expect c.FormDisplayed, "FormDisplayed can be set"
WScript.Echo "all answers right"
