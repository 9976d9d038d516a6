Attribute VB_Name = "受注集計"
' 受注を集計するモジュール
Option Explicit

Public Function 注文を集計する(ByVal order As Order) As Currency
    order.Check amount:=order.Amount
    注文を集計する = order.Amount
    WriteLog "集計: " & FormatAmount(注文を集計する)
End Function
