' The smallest scripting host: creates the object by its ProgID, sets and
' reads its properties, and reads a failing RunForm's description. Prints a
' marker at the end, because cscript ends quietly when a script fails.
Option Explicit

Sub Fail(message)
  WScript.Echo "FAIL: " & message
  WScript.Quit 1
End Sub

Dim o
Set o = CreateObject("Atrybuty.MorvalyClsAttribute")
If o.ShowNow <> "" Then Fail "ShowNow starts empty"
o.ShowNow = "FROM_EXEC"
o.Parent = "Veltrix"
o.ActualMap = "Polska"
If o.ShowNow <> "FROM_EXEC" Or o.Parent <> "Veltrix" Or o.ActualMap <> "Polska" Then Fail "text properties"
If o.IsChange Then Fail "IsChange starts False"
o.IsChange = True
If Not o.IsChange Then Fail "IsChange keeps True"
If o.Excel Is Nothing Then WScript.Echo "Excel: Nothing" Else Fail "Excel starts as Nothing"

o.Parent = ""
On Error Resume Next
o.RunForm
Dim number, description
number = Err.Number
description = Err.Description
On Error GoTo 0
If number = 0 Then Fail "RunForm on a broken package must fail"
If InStr(description, "MapCount=abc") = 0 Then Fail "Err.Description: " & description
WScript.Echo "Err.Description: " & description
Set o = Nothing
WScript.Echo "ATRYBUTY-VBS-OK"
