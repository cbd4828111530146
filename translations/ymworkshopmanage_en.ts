<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>YmMacStatePage</name>
    <message>
        <source>在线 %1</source>
        <translation>Online %1</translation>
    </message>
    <message>
        <source>工作 %1</source>
        <translation>Working %1</translation>
    </message>
    <message>
        <source>异常 %1</source>
        <translation>Alarm %1</translation>
    </message>
    <message>
        <source>离线 %1</source>
        <translation>Offline %1</translation>
    </message>
</context>
<context>
    <name>YmNotifyCountWidget</name>
    <message>
        <source>点击查看通知记录</source>
        <translation>Click for the notice history</translation>
    </message>
    <message>
        <source>还有 %1 个计划待提醒</source>
        <translation>%1 more plans waiting to notify</translation>
    </message>
</context>
<context>
    <name>YmNotifyHistoryWindow</name>
    <message>
        <source>%1（更新 %2）</source>
        <translation>%1 (updated %2)</translation>
    </message>
    <message>
        <source>通知记录</source>
        <translation>Notice history</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>已确认</source>
        <translation>Seen</translation>
    </message>
    <message>
        <source>%1 今日通知 %2 条，未确认 %3 条</source>
        <translation>%1: %2 notices today, %3 not yet seen</translation>
    </message>
</context>
<context>
    <name>YmPlanDataDlg</name>
    <message>
        <source>订单计划：</source>
        <translation>Order plan:</translation>
    </message>
    <message>
        <source>文件：</source>
        <translation>Program:</translation>
    </message>
    <message>
        <source>计划数：</source>
        <translation>Planned qty:</translation>
    </message>
    <message>
        <source>设置提示百分比:</source>
        <translation>Notify at (%):</translation>
    </message>
    <message>
        <source>0或空表示不提示</source>
        <translation>0 or empty: no notice</translation>
    </message>
    <message>
        <source>搜索设备</source>
        <translation>Find machine</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>文件不能为空</source>
        <translation>Enter the program.</translation>
    </message>
    <message>
        <source>计划数量不匹配，请全部设置，并等于计划总数</source>
        <translation>The machine quantities do not match: set every machine so that they add up to the planned quantity.</translation>
    </message>
    <message>
        <source>订单计划不能为空</source>
        <translation>Enter the order plan.</translation>
    </message>
    <message>
        <source>计划数必须是 1 到 %1 之间的整数</source>
        <translation>Planned qty must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>提示百分比必须是 0 到 100 之间的整数</source>
        <translation>Notify at (%) must be a whole number from 0 to 100.</translation>
    </message>
    <message>
        <source>请至少选择一台设备</source>
        <translation>Choose at least one machine.</translation>
    </message>
    <message>
        <source>设备 %1 的数量必须是 1 到 %2 之间的整数</source>
        <translation>The quantity of machine %1 must be a whole number from 1 to %2.</translation>
    </message>
</context>
<context>
    <name>YmTableCsvWriter</name>
    <message>
        <source>无法写入文件“%1”：%2</source>
        <translation>Cannot write the file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>YmTableModel</name>
    <message>
        <source>设备名称</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>今日订单量</source>
        <translation>Today&apos;s plan</translation>
    </message>
    <message>
        <source>完成量</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>完成率</source>
        <translation>Rate</translation>
    </message>
</context>
<context>
    <name>YmTablePlanModel</name>
    <message>
        <source>订单计划</source>
        <translation>Order plan</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>订单数</source>
        <translation>Planned</translation>
    </message>
    <message>
        <source>完成量</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>完成率</source>
        <translation>Rate</translation>
    </message>
</context>
<context>
    <name>YmTableViewPlanPage</name>
    <message>
        <source>单击跳到当天</source>
        <translation>Click to go to today</translation>
    </message>
    <message>
        <source>订单计划</source>
        <translation>Order plan</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>模糊匹配关键字：</source>
        <translation>Pattern:</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>新增订单</source>
        <translation>New order</translation>
    </message>
    <message>
        <source>编辑订单</source>
        <translation>Edit order</translation>
    </message>
    <message>
        <source>删除订单</source>
        <translation>Delete order</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>至少选择一项作为查询依据!</source>
        <translation>Keep at least one column to group by!</translation>
    </message>
    <message>
        <source>计划订单数据</source>
        <translation>Order plans</translation>
    </message>
    <message>
        <source>计划订单_%1.csv</source>
        <translation>order-plans_%1.csv</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>请选择要编辑的订单</source>
        <translation>Select the order to edit.</translation>
    </message>
    <message>
        <source>未修改</source>
        <translation>Nothing was changed.</translation>
    </message>
    <message>
        <source>请选择要删除的订单</source>
        <translation>Select the order to delete.</translation>
    </message>
    <message>
        <source>是否要删除 %1 该计划订单?</source>
        <translation>Delete the order plan %1?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>zh_CN</source>
        <comment>locale of the date edit and its calendar</comment>
        <translation>en_US</translation>
    </message>
</context>
<context>
    <name>YmWorkshopDatePlanProgress</name>
    <message>
        <source>预计 %1 完成</source>
        <translation>Done by %1</translation>
    </message>
    <message>
        <source>预计 %1%</source>
        <translation>Forecast %1%</translation>
    </message>
</context>
<context>
    <name>YmWorkshopHorizontalBarChart</name>
    <message>
        <source>单位：件</source>
        <translation>Unit: pcs</translation>
    </message>
</context>
<context>
    <name>YmWorkshopManageMainPage</name>
    <message>
        <source>计划订单：%1(%2/%3)%4%</source>
        <translation>Order plan: %1 (%2/%3) %4%</translation>
    </message>
    <message>
        <source>机器订单生产统计</source>
        <translation>Output per machine</translation>
    </message>
    <message>
        <source>今日订单完成进度</source>
        <translation>Today&apos;s order progress</translation>
    </message>
    <message>
        <source>订单进度</source>
        <translation>Order progress</translation>
    </message>
    <message>
        <source>车间生产状况</source>
        <translation>Production status</translation>
    </message>
    <message>
        <source>计划订单数据</source>
        <translation>Order plans</translation>
    </message>
    <message>
        <source>计划停机项设置</source>
        <translation>Planned downtime...</translation>
    </message>
    <message>
        <source>计划上下班时间设置</source>
        <translation>Shift hours...</translation>
    </message>
    <message>
        <source>取消全屏</source>
        <translation>Exit full screen</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>通知记录</source>
        <translation>Notice history</translation>
    </message>
</context>
<context>
    <name>YmWorkshopManagePage</name>
    <message>
        <source>车间管理看板</source>
        <translation>Workshop Management Board</translation>
    </message>
</context>
<context>
    <name>YmWorkshopPlanRateChart</name>
    <message>
        <source>今日总单: %1 </source>
        <translation>Today&apos;s total: %1 </translation>
    </message>
    <message>
        <source>今日完成率</source>
        <translation>Today&apos;s completion</translation>
    </message>
</context>
<context>
    <name>YmWorkshopPlanRatePage</name>
    <message>
        <source>已完成量</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>未完成量</source>
        <translation>To do</translation>
    </message>
</context>
<context>
    <name>YmWorkshopVerticalBarchart</name>
    <message>
        <source>单位：件</source>
        <translation>Unit: pcs</translation>
    </message>
</context>
</TS>
