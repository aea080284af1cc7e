' The installed server as a workbook macro meets it: the object created by its
' ProgID, ShowNow set, RunForm called. The dialog opens modeless and RunForm
' returns; installer_test.sh then finds the dialog and closes it. Prints a
' marker at the end, because cscript ends quietly when a script fails.
Option Explicit

Sub Fail(message)
  WScript.Echo "FAIL: " & message
  WScript.Quit 1
End Sub

Dim o
Set o = CreateObject("Atrybuty.MorvalyClsAttribute")
If o Is Nothing Then Fail "CreateObject gave Nothing"
o.ShowNow = "MAKRO"
If o.ShowNow <> "MAKRO" Then Fail "ShowNow reads back " & o.ShowNow
On Error Resume Next
o.RunForm
Dim number, description
number = Err.Number
description = Err.Description
On Error GoTo 0
If number <> 0 Then Fail "RunForm: " & Hex(number) & " " & description
Set o = Nothing
WScript.Echo "ATRYBUTY-INSTALLED-OK"
