#include "site_pages.h"

namespace lumadex::site {
std::string render_login_page(const PageContext& ctx, std::string_view notice) {
  std::string content = "<h2>登录校内网</h2>\n";
  if (!notice.empty()) content += "<div class=\"notice\">" + std::string(notice) + "</div>\n";
  content += "<form class=\"login-box\" method=\"post\" action=\"" + ctx.base +
             "/Login.do\">\n"
             "<p><label>电子邮箱：<input type=\"text\" name=\"email\" /></label></p>\n"
             "<p><label>密码：<input type=\"password\" name=\"password\" /></label></p>\n"
             "<p><label><input type=\"checkbox\" name=\"autoLogin\" value=\"true\" style=\"width:auto\" />"
             "下次自动登录</label></p>\n"
             "<p><input type=\"submit\" value=\"登录\" style=\"width:auto\" /> "
             "<a href=\"" + ctx.base + "/getpassword.do\">忘记密码？</a></p>\n</form>\n"
             "<p>还没有开通你的校内网账号？<a href=\"" + ctx.base + "/register.do\">立即注册</a></p>";
  return page_frame(ctx, "登录", "id=\"login\" class=\"login-page\"", content);
}

std::string render_signed_out_page(const PageContext& ctx) {
  return render_login_page(ctx, "请先登录，登录后才能查看此页面。");
}

std::string render_home_page(const PageContext& ctx, const Catalog& catalog, std::string_view email) {
  std::int64_t owner = catalog.home_owner();
  std::string profile = ctx.base + "/getuser.do?id=" + std::to_string(owner);
  std::string greeting = email.empty() ? "欢迎回来" : "欢迎回来，" + html_escape(email);
  std::string content = "<h2>" + greeting + "</h2>\n<p><a href=\"" + profile + "\">我的个人主页</a></p>\n"
                        "<h3>新鲜事</h3>\n<ul class=\"feed\">\n";
  for (const auto& album : catalog.albums) {
    if (album.owner != owner) continue;
    content += "<li>" + html_escape(owner_display_name(owner)) + " 更新了相册 <a href=\"" + ctx.base +
               "/getalbum.do?id=" + std::to_string(album.id) + "&owner=" + std::to_string(owner) + "\">" +
               html_escape(album.title) + "</a></li>\n";
  }
  content += "<li>你的好友 李华 更新了状态：今天天气不错</li>\n</ul>";
  return page_frame(ctx, "首页", "id=\"home\" class=\"home-page layout-wide\"", content);
}

std::string render_profile_page(const PageContext& ctx, const Catalog& catalog, std::int64_t owner) {
  std::string name = owner_display_name(owner);
  std::string content = "<div class=\"profile-head\"><h2>" + html_escape(name) +
                        "</h2>\n<p>学校：北京大学 &middot; 家乡：浙江 杭州</p></div>\n<h3>" + html_escape(name) +
                        "的相册</h3>\n<ul class=\"album-list\">\n";
  bool any = false;
  for (const auto& album : catalog.albums) {
    if (album.owner != owner) continue;
    any = true;
    content += "<li><a href=\"" + ctx.base + "/getalbum.do?id=" + std::to_string(album.id) +
               "&owner=" + std::to_string(owner) + "\">" + html_escape(album.title) + "</a> (" +
               std::to_string(album.count) + ")</li>\n";
  }
  if (!any) content += "<li>还没有相册</li>\n";
  content += "</ul>";
  return page_frame(ctx, name, "id=\"profile\" class=\"profile-page\"", content);
}

std::string render_missing_page(const PageContext& ctx, std::string_view what) {
  std::string content = "<div class=\"notice\">" + std::string(what) + "</div>\n<p><a href=\"" + ctx.base +
                        "/\">返回首页</a></p>";
  return page_frame(ctx, what, "id=\"missing\" class=\"message-page\"", content);
}

std::string render_error_page(int status) {
  std::string code = std::to_string(status);
  return "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"
         "<title>" + code + " 错误</title></head>\n<body><h1>" + code +
         "</h1><p>服务器暂时无法处理您的请求，请稍后再试。</p></body></html>\n";
}

}  // namespace lumadex::site
