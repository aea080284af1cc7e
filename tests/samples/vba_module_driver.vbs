
' ---- Test driver, appended to the VBA sample module turned into VBScript ----
' Written in UTF-8; vba_module_test.sh converts it to Windows-1250, the code
' page of the module it follows, before appending it.
'   cscript //nologo SCRIPT SCENARIO FLAGDIR
'   broken    the installed package is broken: both macros show the
'             component's description in a critical message box
'   ordinary  ZmienAtrybutyLinii opens the dialog ("opened"); samples_probe
'             applies a change ("applied"), waits for "checked", cancels
'             ("closed")
'   fromexec  ZmienAtrybutyLiniiZUruchomienia ("opened"); samples_probe
'             cancels, which ends the server ("closed")
' Prints VBA-MODULE-OK and the scenario when every check held.

' What the module's MsgBox calls would have shown.
Dim shownCount, shownText, shownButtons, shownTitle
shownCount = 0

Function MsgBox(prompt, buttons, title)
  shownCount = shownCount + 1
  shownText = prompt
  shownButtons = buttons
  shownTitle = title
  MsgBox = vbOK
End Function

' Excel's Application as far as the module uses it: an object to hand over.
Class ExcelStandIn
  Public Name
  Private Sub Class_Initialize()
    Name = "Microsoft Excel"
  End Sub
End Class

Dim Application
Set Application = New ExcelStandIn

Dim failures, scenario, flagDir, fso, shell
failures = 0
Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")

Sub Fail(message)
  failures = failures + 1
  WScript.Echo "FAIL: " & message
End Sub

' Called once at the end, or at a failure that ends the run. The module's
' object is released first, as closing the workbook would: Wine's
' WScript.Quit ends the process without releasing the script's variables,
' and the server would go on waiting for its caller.
Sub Finish()
  If IsObject(mAtrybuty) Then Set mAtrybuty = Nothing
  If failures = 0 Then
    WScript.Echo "VBA-MODULE-OK " & scenario
  Else
    WScript.Quit 1
  End If
End Sub

' Waits for samples_probe's flag file, at most `seconds`. Wine's
' WScript.Sleep is not implemented (error 445), so a short hidden program run
' to its end is the pause between two looks.
Function WaitFlag(name, seconds)
  Dim deadline
  deadline = DateAdd("s", seconds, Now)
  WaitFlag = True
  Do Until fso.FileExists(flagDir & "\" & name)
    If Now > deadline Then
      WaitFlag = False
      Fail "samples_probe did not report " & name & " within " & seconds & " s"
      Finish
    End If
    shell.Run "cmd.exe /c exit 0", 0, True
  Loop
End Function

Sub SetFlag(name)
  fso.CreateTextFile(flagDir & "\" & name, True).Close
End Sub

' The module's object, or Nothing when it holds none.
Function HeldObject()
  Set HeldObject = Nothing
  If IsObject(mAtrybuty) Then Set HeldObject = mAtrybuty
End Function

Sub ExpectNoMessage(macro)
  If shownCount <> 0 Then Fail macro & " shows no message box, but showed: " & shownText
End Sub

Sub ExpectDialogKept(macro, showNow)
  If HeldObject() Is Nothing Then
    Fail macro & " keeps the object in its module-level variable"
    Finish
  End If
  If Not (mAtrybuty.Excel Is Application) Then Fail macro & " hands the component this Excel (Set .Excel = Application)"
  If mAtrybuty.ShowNow <> showNow Then Fail macro & " sets ShowNow to """ & showNow & """, not """ & mAtrybuty.ShowNow & """"
  If AtrybutyZmienione() Then Fail "AtrybutyZmienione is False while the new dialog has applied nothing"
End Sub

Sub ExpectBrokenPackageMessage(macro, count)
  ' With its Polish letters: the module's text is read as Windows-1250.
  Dim lead
  lead = "Nie udało się otworzyć okna zmiany atrybutów linii."
  If shownCount <> count Then
    Fail macro & " shows one message box for a broken package"
  Else
    If InStr(shownText, lead) <> 1 Then Fail macro & ": the box's Polish sentence comes first: " & shownText
    If InStr(shownText, "MapCount=abc") = 0 Or InStr(shownText, """Zla""") = 0 Then Fail macro & ": the box shows Err.Description: " & shownText
    If InStr(shownText, "(Err.Number = -2147220988)") = 0 Then Fail macro & ": the box shows Err.Number: " & shownText
    If shownButtons <> vbCritical Then Fail macro & ": the box is critical (vbCritical), not " & shownButtons
    If shownTitle <> "Atrybuty" Then Fail macro & ": the box is titled Atrybuty, not " & shownTitle
  End If
  If Not (HeldObject() Is Nothing) Then Fail macro & " releases the object after the error"
  If AtrybutyZmienione() Then Fail "AtrybutyZmienione is False after the error"
End Sub

If WScript.Arguments.Count <> 2 Then
  WScript.Echo "usage: SCRIPT broken|ordinary|fromexec FLAGDIR"
  WScript.Quit 2
End If
scenario = WScript.Arguments(0)
flagDir = WScript.Arguments(1)

Dim result, number
Select Case scenario
  Case "broken"
    If AtrybutyZmienione() Then Fail "AtrybutyZmienione is False before any start"
    ZmienAtrybutyLinii
    ExpectBrokenPackageMessage "ZmienAtrybutyLinii", 1
    ZmienAtrybutyLiniiZUruchomienia
    ExpectBrokenPackageMessage "ZmienAtrybutyLiniiZUruchomienia", 2

  Case "ordinary"
    ZmienAtrybutyLinii
    ExpectNoMessage "ZmienAtrybutyLinii"
    ExpectDialogKept "ZmienAtrybutyLinii", ""
    SetFlag "opened"
    WaitFlag "applied", 60
    If Not AtrybutyZmienione() Then Fail "AtrybutyZmienione is True after Zastosuj"
    SetFlag "checked"
    WaitFlag "closed", 60
    If AtrybutyZmienione() Then Fail "AtrybutyZmienione is False after Anuluj"
    ExpectNoMessage "the whole run"

  Case "fromexec"
    ZmienAtrybutyLiniiZUruchomienia
    ExpectNoMessage "ZmienAtrybutyLiniiZUruchomienia"
    ExpectDialogKept "ZmienAtrybutyLiniiZUruchomienia", "FROM_EXEC"
    SetFlag "opened"
    WaitFlag "closed", 60
    ' The server has ended: the object no longer answers ...
    On Error Resume Next
    result = mAtrybuty.IsChange
    number = Err.Number
    On Error GoTo 0
    If number = 0 Then Fail "the object still answers after a cancel ended the server"
    ' ... and AtrybutyZmienione still returns False without an error.
    On Error Resume Next
    result = AtrybutyZmienione()
    number = Err.Number
    On Error GoTo 0
    If number <> 0 Then Fail "AtrybutyZmienione raises error " & number & " once the server has ended"
    If result Then Fail "AtrybutyZmienione is False once the server has ended"

  Case Else
    Fail "unknown scenario " & scenario
End Select
Finish
